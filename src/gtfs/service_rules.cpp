#include "gtfs/service_rules.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/windows1252.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace zeb {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view lastDigits(std::string_view text) {
    const auto last = std::find_if(text.rbegin(), text.rend(), isDigit);
    if (last == text.rend())
        return {};
    const auto first = std::find_if_not(last, text.rend(), isDigit);
    return text.substr(static_cast<std::size_t>(text.rend() - first),
                       static_cast<std::size_t>(first - last));
}

// The text before the first digit, or the whole text where it has none.
std::string_view beforeNumber(std::string_view text) {
    return trimmedOf(
        text.substr(0, static_cast<std::size_t>(std::find_if(text.begin(), text.end(), isDigit) -
                                                text.begin())),
        " -");
}

struct KindCategory {
    std::string_view kind; // lower case
    std::string_view categoria;
};
constexpr std::array<KindCategory, 29> kKinds = {{
    {"ice", "Eurostar"},
    {"tgv", "Eurostar"},
    {"fr", "Eurostar"},
    {"fa", "Eurostar"},
    {"fb", "Eurostar"},
    {"es", "Eurostar"},
    {"av", "Eurostar"},
    {"rj", "Eurostar"},
    {"frecciarossa", "Eurostar"},
    {"frecciargento", "Eurostar"},
    {"frecciabianca", "Eurostar"},
    {"italo", "Eurostar"},
    {"ic", "Intercity"},
    {"icn", "Intercity Notte"},
    {"ec", "Eurocity"},
    {"ece", "Eurocity"},
    {"en", "Euronight"},
    {"nj", "Euronight"},
    {"ir", "Interregionale"},
    {"re", "Interregionale"},
    {"rv", "Interregionale"},
    {"r", "Regionale"},
    {"rb", "Regionale"},
    {"reg", "Regionale"},
    {"s", "Suburbano"},
    {"bus", "Autobus"},
    {"autobus", "Autobus"},
    {"regionale", "Regionale"},
    {"intercity", "Intercity"},
}};

std::optional<std::string_view> categoryOfKindText(std::string_view kind) {
    const std::string key = lowered(kind);
    for (const KindCategory& k : kKinds) {
        if (k.kind == key)
            return k.categoria;
    }
    return std::nullopt;
}

int categoryPosition(std::string_view name) {
    return positionIn(kCategorie, name).value_or(0);
}

icu::Transliterator* latinLetters() {
    static std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(t) : nullptr;
    }();
    return transliterator.get();
}

} // namespace

std::string trainNumber(const GtfsTrip& trip, const GtfsRoute& route) {
    if (!trip.shortName.empty())
        return trip.shortName;
    for (const std::string* name : {&route.longName, &route.shortName}) {
        const std::string_view digits = lastDigits(*name);
        if (!digits.empty())
            return std::string(digits);
    }
    return trip.id;
}

std::string serviceKind(const GtfsTrip& trip, const GtfsRoute& route) {
    for (const std::string* name : {&trip.shortName, &route.shortName, &route.longName}) {
        const std::string_view kind = beforeNumber(*name);
        if (!kind.empty())
            return std::string(kind);
    }
    return std::string(trimmedOf(route.shortName.empty() ? route.longName : route.shortName, " -"));
}

int defaultCategory(std::string_view kind, int routeType) {
    auto byText = categoryOfKindText(kind);
    if (!byText) {
        // "Frecciarossa 1000", "RE Express": the first word alone.
        const auto blank = kind.find(' ');
        if (blank != std::string_view::npos)
            byText = categoryOfKindText(kind.substr(0, blank));
    }
    if (byText)
        return categoryPosition(*byText);
    switch (routeType) {
    case 101:
        return categoryPosition("Eurostar");
    case 102:
        return categoryPosition("Intercity");
    case 103:
        return categoryPosition("Interregionale");
    case 105:
        return categoryPosition("Intercity Notte");
    case 109:
        return categoryPosition("Suburbano");
    case 3:
    case 200:
        return categoryPosition("Autobus");
    default:
        return routeType >= 700 && routeType <= 799 ? categoryPosition("Autobus")
                                                    : categoryPosition("Regionale");
    }
}

bool isRailService(int routeType) {
    return routeType == 2 || (routeType >= 100 && routeType <= 199);
}

std::optional<int> trackSlotOfPlatform(std::string_view code) {
    std::string compact;
    for (char c : lowered(code)) {
        if (c != ' ' && c != '.')
            compact += c;
    }
    if (const auto stub = slotOfTrackName(compact); stub && *stub >= kMaxChosenTracks)
        return stub;
    const auto first = std::find_if(compact.begin(), compact.end(), isDigit);
    const auto last = std::find_if_not(first, compact.end(), isDigit);
    if (first == compact.end() || last - first > 2)
        return std::nullopt;
    const int track = std::stoi(std::string(first, last));
    if (track < 1 || track > kMaxChosenTracks)
        return std::nullopt;
    return track - 1;
}

std::string fittedName(std::string_view utf8, bool& changed) {
    std::string text(utf8);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    if (text != utf8)
        changed = true;
    if (utf8ToWindows1252(text))
        return text;
    changed = true;
    static std::mutex guard;
    std::string latin;
    {
        std::lock_guard lock(guard);
        icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
        if (icu::Transliterator* t = latinLetters())
            t->transliterate(u);
        u.toUTF8String(latin);
    }
    // What no Latin letter stands for (a sign, a broken byte) becomes "?".
    std::string out;
    for (std::size_t i = 0; i < latin.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(latin[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        length = std::min(length, latin.size() - i);
        const std::string_view character(latin.data() + i, length);
        out += utf8ToWindows1252(character) ? std::string(character) : std::string("?");
        i += length;
    }
    return out;
}

} // namespace zeb
