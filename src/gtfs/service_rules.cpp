#include "gtfs/service_rules.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/windows1252.h"
#include "text/latin_letters.h"

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

// The leading word of letters of a kind's text, its separators dropped: "RE_" and "RE - " give
// "RE", "AVE-TGV" "AVE"; a text that starts with no letter is kept whole.
std::string_view leadingWord(std::string_view text) {
    const auto isLetter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               static_cast<unsigned char>(c) >= 0x80; // a letter of another alphabet
    };
    std::size_t end = 0;
    while (end < text.size() && isLetter(text[end]))
        ++end;
    return end == 0 ? text : text.substr(0, end);
}

struct KindCategory {
    std::string_view kind; // lower case
    std::string_view categoria;
};
// Kinds as feeds name them, by the railways' brands: high-speed trains become Eurostar, long
// distance Intercity, night trains Intercity Notte or Euronight, regional expresses
// Interregionale, suburban trains Suburbano. The README shows the table.
constexpr KindCategory kKinds[] = {
    // High speed.
    {"ice", "Eurostar"},
    {"tgv", "Eurostar"},
    {"inoui", "Eurostar"},
    {"ouigo", "Eurostar"},
    {"thalys", "Eurostar"},
    {"eurostar", "Eurostar"},
    {"fr", "Eurostar"},
    {"fa", "Eurostar"},
    {"fb", "Eurostar"},
    {"es", "Eurostar"},
    {"av", "Eurostar"},
    {"ave", "Eurostar"},
    {"avlo", "Eurostar"},
    {"alvia", "Eurostar"},
    {"avant", "Eurostar"},
    {"euromed", "Eurostar"},
    {"iryo", "Eurostar"},
    {"rj", "Eurostar"},
    {"rjx", "Eurostar"},
    {"eip", "Eurostar"},
    {"frecciarossa", "Eurostar"},
    {"frecciargento", "Eurostar"},
    {"frecciabianca", "Eurostar"},
    {"italo", "Eurostar"},
    // Long distance.
    {"ic", "Intercity"},
    {"intercity", "Intercity"},
    {"intercités", "Intercity"},
    {"intercites", "Intercity"},
    {"eic", "Intercity"},
    {"tlk", "Intercity"},
    {"ec", "Eurocity"},
    {"ece", "Eurocity"},
    // Night.
    {"icn", "Intercity Notte"},
    {"en", "Euronight"},
    {"nj", "Euronight"},
    // Regional.
    {"ir", "Interregionale"},
    {"ire", "Interregionale"},
    {"re", "Interregionale"},
    {"rex", "Interregionale"},
    {"rv", "Interregionale"},
    {"md", "Interregionale"},
    {"r", "Regionale"},
    {"rb", "Regionale"},
    {"reg", "Regionale"},
    {"regionale", "Regionale"},
    {"ter", "Regionale"},
    {"s", "Suburbano"},
    {"bus", "Autobus"},
    {"autobus", "Autobus"},
};

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

// `run`, of characters Windows-1252 lacks, in Latin letters it holds; "?" for what none stands
// for (a sign).
std::string latinWithin1252(const std::string& run) {
    const std::string latin = inLatinLetters(run, false);
    std::string out;
    for (std::size_t pos = 0; pos < latin.size();) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(latin, pos);
        if (cp && isWindows1252Character(*cp)) {
            out.append(latin, start, pos - start);
        } else {
            out += '?';
            pos = cp ? pos : pos + 1;
        }
    }
    return out;
}

} // namespace

TrainNumber trainNumber(const GtfsTrip& trip, const GtfsRoute& route) {
    if (!trip.headsign.empty())
        return {trip.headsign};
    if (!trip.shortName.empty()) {
        // Words beside the number: a kind, a line.
        const bool words = trip.shortName.find_first_of(" _-") != std::string::npos;
        const std::string_view digits = lastDigits(trip.shortName);
        return {words && !digits.empty() ? std::string(digits) : trip.shortName};
    }
    for (const std::string* name : {&route.longName, &route.shortName}) {
        const std::string_view digits = lastDigits(*name);
        if (!digits.empty())
            return {std::string(digits), true};
    }
    return {trip.id};
}

std::string serviceKind(const GtfsTrip& trip, const GtfsRoute& route) {
    for (const std::string* name : {&trip.shortName, &route.shortName, &route.longName}) {
        const std::string_view kind = leadingWord(beforeNumber(*name));
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
    const std::string text = blanksForControls(utf8, false);
    if (text != utf8)
        changed = true;
    if (utf8ToWindows1252(text))
        return text;
    changed = true;
    // Only what the code page lacks is written in Latin letters, a run of such characters at a
    // time (so that a script keeps its context): "Główna" is "Glówna", not "Glowna".
    std::string out;
    std::string run;
    auto flush = [&] {
        if (run.empty())
            return;
        out += latinWithin1252(run);
        run.clear();
    };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const auto cp = nextCodePoint(text, pos);
        if (!cp) {
            flush();
            out += '?'; // a broken byte
            ++pos;
        } else if (isWindows1252Character(*cp) || *cp == ' ') {
            flush();
            out.append(text, start, pos - start);
        } else {
            run.append(text, start, pos - start);
        }
    }
    flush();
    return out;
}

std::string stopListName(std::string name) {
    // "Roma, Termini" would split the list of stops in two: "Roma - Termini".
    for (std::size_t comma = name.find(','); comma != std::string::npos;
         comma = name.find(',', comma)) {
        const bool blankAfter = comma + 1 < name.size() && name[comma + 1] == ' ';
        name.replace(comma, blankAfter ? 2 : 1, " - ");
    }
    if (trimmedOf(name, " ").empty())
        return "fermata senza nome";
    return name;
}

} // namespace zeb
