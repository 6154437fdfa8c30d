#include "layout/notice_layout.h"

#include "model/counted.h"
#include "model/value_tables.h"

#include <algorithm>
#include <optional>

namespace zeb {

namespace {

// A delay index as the passengers understand it: how late the train may be. A delay lowered to
// none is no news for them; one lowered to another is said as the smaller delay it is.
std::optional<std::string> delayChange(const std::string& before, const std::string& after) {
    auto most = [](const std::string& index) -> std::optional<int> {
        const auto at = std::find(kRitardi.begin(), kRitardi.end(), index);
        if (at == kRitardi.end())
            return std::nullopt;
        return kMostDelayMinutes[static_cast<std::size_t>(at - kRitardi.begin())];
    };
    const auto now = most(after);
    if (!now || *now == 0)
        return std::nullopt;
    const auto was = most(before);
    if (was && *was > *now)
        return "ritardo previsto ridotto: fino a " + durationText(*now) + " invece di " +
               durationText(*was);
    return "ritardo previsto fino a " + durationText(*now);
}

constexpr double kMargin = 42;
constexpr double kTitleSize = 18;
constexpr double kHeadingSize = 13;
constexpr double kRowSize = 10;
constexpr double kLine = 13.5;
constexpr double kFooter = kNoticeHeight - 28;

// The rows of the trains a difference puts in each section.
struct Sections {
    NoticeSection cancelled{"Treni soppressi", {}};
    NoticeSection cut{"Treni limitati", {}};
    NoticeSection started{"Treni con origine", {}};
    NoticeSection tracks{"Cambi di binario", {}};
    NoticeSection delays{"Ritardi", {}};
};

std::string placeOf(const Treno& t) {
    return t.destinazione.empty() ? "da " + t.provenienza : "per " + t.destinazione;
}

const FieldChange* changeOf(const TrainDifference& d, std::string_view field) {
    const auto found = std::find_if(d.changes.begin(), d.changes.end(),
                                    [&](const FieldChange& c) { return c.field == field; });
    return found == d.changes.end() ? nullptr : &*found;
}

// `word` in pieces no wider than `width` in type of `size`, cut between characters: a name
// without blanks wider than its column.
std::vector<std::string> pieces(const MeasureText& measure, const std::string& word, double width,
                                double size) {
    std::vector<std::string> out(1);
    for (std::size_t at = 0; at < word.size();) {
        std::size_t end = at + 1;
        while (end < word.size() && (static_cast<unsigned char>(word[end]) & 0xC0) == 0x80)
            ++end; // the rest of a UTF-8 character
        const std::string character = word.substr(at, end - at);
        if (!out.back().empty() && measure(out.back() + character, size, true) > width)
            out.emplace_back();
        out.back() += character;
        at = end;
    }
    return out;
}

// Words of `text` in lines no wider than `width`, in type of `size`.
std::vector<std::string> wrapped(const MeasureText& measure, const std::string& text, double width,
                                 double size = kRowSize) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        std::string word = text.substr(at, end - at);
        at = end + 1;
        if (measure(word, size, true) > width) {
            std::vector<std::string> cut = pieces(measure, word, width, size);
            word = cut.back();
            cut.pop_back();
            if (!line.empty())
                lines.push_back(line);
            lines.insert(lines.end(), cut.begin(), cut.end());
            line.clear();
        }
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && measure(longer, size, true) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.push_back(line);
    return lines;
}

} // namespace

std::vector<NoticeSection> noticeSections(const Scenario& base, const Scenario& variant,
                                          const std::vector<TrainDifference>& differences) {
    Sections s;
    for (const TrainDifference& d : differences) {
        if (d.kind == TrainDifference::Kind::Added)
            continue;
        const Treno& before = base.treni[static_cast<std::size_t>(d.base)];
        const Treno& now =
            d.variant >= 0 ? variant.treni[static_cast<std::size_t>(d.variant)] : before;
        const std::string when = trainAndTime(base, variant, d);
        NoticeRow row{when.substr(when.rfind(' ') + 1), now.numero, now.categoria, placeOf(now),
                      ""};
        const FieldChange* indication = changeOf(d, "Indicazioni");
        if (d.kind == TrainDifference::Kind::Removed ||
            (indication && indication->after == "Soppresso")) {
            row.place = placeOf(before);
            s.cancelled.rows.push_back(row);
            continue;
        }
        if (const FieldChange* c = changeOf(d, "Destinazione"); c && c->after.empty()) {
            s.cut.rows.push_back({row.time, row.number, row.category, "da " + now.provenienza,
                                  "termina qui invece di proseguire per " + c->before});
        }
        if (const FieldChange* c = changeOf(d, "Provenienza"); c && c->after.empty()) {
            s.started.rows.push_back({row.time, row.number, row.category, "per " + now.destinazione,
                                      "parte da qui invece di venire da " + c->before});
        }
        if (const FieldChange* c = changeOf(d, "Binario");
            c && !c->after.empty() && !c->before.empty()) {
            row.change = "binario " + c->after + " invece del " + c->before;
            s.tracks.rows.push_back(row);
        }
        if (const FieldChange* c = changeOf(d, "Ritardo")) {
            if (const auto change = delayChange(c->before, c->after)) {
                row.change = *change;
                s.delays.rows.push_back(row);
            }
        }
    }
    std::vector<NoticeSection> sections;
    for (NoticeSection* section : {&s.cancelled, &s.cut, &s.started, &s.tracks, &s.delays}) {
        if (!section->rows.empty())
            sections.push_back(std::move(*section));
    }
    return sections;
}

namespace {

// The pages as they fill: where the next line goes, the columns of the rows.
class PageFiller {
public:
    PageFiller(const MeasureText& measure, const std::vector<NoticeSection>& sections)
        : measure_(measure), pages_(1) {
        // Columns: time, number, category, then where and what changed, the rest of the width.
        numberX_ = kMargin + measure("00:00", kRowSize, true) + 10;
        double numberWidth = 0, categoryWidth = 0;
        for (const NoticeSection& section : sections) {
            for (const NoticeRow& row : section.rows) {
                numberWidth = std::max(numberWidth, measure(row.number, kRowSize, true));
                categoryWidth = std::max(categoryWidth, measure(row.category, kRowSize, true));
            }
        }
        categoryX_ = numberX_ + std::min(numberWidth, 110.0) + 10;
        textX_ = categoryX_ + std::min(categoryWidth, 110.0) + 10;
    }

    // The title, wrapped within the page however long the station's name; the pages after the
    // first are headed by the station and the day in smaller type.
    void title(const std::string& station, const std::string& day) {
        y_ = kMargin + kTitleSize;
        const double width = kNoticeWidth - 2 * kMargin;
        for (const std::string& line :
             wrapped(measure_, "Stazione di " + station + ": avviso ai viaggiatori", width,
                     kTitleSize)) {
            put({line, kMargin, y_, kTitleSize, true});
            y_ += kTitleSize * 1.25;
        }
        y_ += kLine * 0.5;
        if (!day.empty()) {
            put({day, kMargin, y_, kRowSize + 2, false});
            y_ += kLine * 1.5;
        }
        heading_ = wrapped(measure_,
                           "Stazione di " + station + ": avviso ai viaggiatori" +
                               (day.empty() ? std::string() : " — " + day),
                           width);
    }

    void section(const NoticeSection& section) {
        if (y_ + 3 * kLine > kFooter - kLine)
            newPage();
        y_ += kLine * 0.5;
        put({section.title, kMargin, y_, kHeadingSize, true});
        y_ += kLine * 1.3;
        for (const NoticeRow& row : section.rows)
            this->row(section.title, row);
    }

    std::vector<NoticePage> finish() {
        const std::size_t count = pages_.size();
        for (std::size_t k = 0; k < count; ++k)
            pages_[k].push_back({"Pagina " + std::to_string(k + 1) + " di " + std::to_string(count),
                                 kMargin, kFooter + kLine, 8, false});
        return std::move(pages_);
    }

private:
    void put(PlacedText text) { pages_.back().push_back(std::move(text)); }

    void newPage() {
        pages_.emplace_back();
        y_ = kMargin + kRowSize;
        for (const std::string& line : heading_) {
            put({line, kMargin, y_, kRowSize, false});
            y_ += kLine;
        }
        y_ += kLine * 0.5 + kHeadingSize - kRowSize;
    }

    // A train's line, and the lines its wrapped columns need; a train starts on a page with room
    // for it, or for a page of it at least.
    void row(const std::string& title, const NoticeRow& row) {
        const double textWidth = kNoticeWidth - kMargin - textX_;
        std::vector<std::string> lines = wrapped(measure_, row.place, textWidth);
        if (!row.change.empty())
            for (std::string& line : wrapped(measure_, row.change, textWidth))
                lines.push_back(std::move(line));
        const auto numbers = wrapped(measure_, row.number, categoryX_ - numberX_ - 6);
        const auto categories = wrapped(measure_, row.category, textX_ - categoryX_ - 6);
        const std::size_t height = std::max({lines.size(), numbers.size(), categories.size()});
        const double needed = std::min(static_cast<double>(height) * kLine, kFooter / 2);
        for (std::size_t k = 0; k < height; ++k) {
            if (y_ + (k == 0 ? needed : kLine) > kFooter - kLine) {
                newPage();
                put({title + " (segue)", kMargin, y_, kHeadingSize, true});
                y_ += kLine * 1.3;
            }
            if (k == 0)
                put({row.time, kMargin, y_, kRowSize, true});
            if (k < numbers.size())
                put({numbers[k], numberX_, y_, kRowSize, true});
            if (k < categories.size())
                put({categories[k], categoryX_, y_, kRowSize, false});
            if (k < lines.size())
                put({lines[k], textX_, y_, kRowSize, false});
            y_ += kLine;
        }
    }

    const MeasureText& measure_;
    std::vector<NoticePage> pages_;
    double y_ = 0;
    double numberX_ = 0, categoryX_ = 0, textX_ = 0;
    std::vector<std::string> heading_; // of the pages after the first
};

} // namespace

std::vector<NoticePage> noticePages(const MeasureText& measure, const std::string& station,
                                    const std::string& day,
                                    const std::vector<NoticeSection>& sections) {
    PageFiller writer(measure, sections);
    writer.title(station, day);
    for (const NoticeSection& section : sections)
        writer.section(section);
    return writer.finish();
}

} // namespace zeb
