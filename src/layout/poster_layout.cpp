#include "layout/poster_layout.h"

#include "model/value_tables.h"

#include <algorithm>

namespace zeb {

namespace {

constexpr double kMargin = 20;
constexpr double kGap = 12;       // between columns
constexpr double kTitle = 38;     // the band of the title and the station's name
constexpr double kHead = 12;      // the column heads
constexpr double kFoot = 11;      // the footnote of the marks
constexpr double kMain = 8.5;     // time, train and place, track
constexpr double kSmall = 6.5;    // stops and notes
constexpr double kHeadSize = 7;   // column heads
constexpr double kEntryGap = 2.5; // between two trains
constexpr double kTrackGap = 4;   // between the place and the track
constexpr const char* kTimeMark = "*";
constexpr const char* kTrackMark = "†";

// The start of the UTF-8 character after the one at `at`.
std::size_t nextCharacter(std::string_view text, std::size_t at) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

// One train laid out in a column of `width`, its lines relative to its top-left corner.
struct Entry {
    std::vector<PosterText> texts;
    double height = 0;
};

class PageMaker {
public:
    // `tight` below 1 makes the trains' type and the room between them that much smaller.
    PageMaker(const Poster& poster, const MeasureText& measure, int columns, double tight)
        : poster_(poster), measure_(measure), columns_(columns),
          column_((kPosterWidth - 2 * kMargin - (columns - 1) * kGap) / columns),
          main_(kMain * tight), small_(kSmall * tight), entryGap_(kEntryGap * tight) {
        // The time and track columns as wide as their widest text, marks included.
        // A stray long text is wrapped in a quarter of the column rather than squeezing the rest.
        timeWidth_ =
            std::min(column_ / 4, std::max(widest(kPosterTime, kTimeMark),
                                           measure_(poster.heads[kPosterTime], kHeadSize, true)) +
                                      5);
        trackWidth_ =
            std::min(column_ / 4, std::max(widest(trackColumn(), kTrackMark),
                                           measure_(poster.heads[trackColumn()], kHeadSize, true)) +
                                      2);
    }

    PosterLayout run() {
        PosterLayout layout;
        layout.columns = columns_;
        const double room = kPosterHeight - 2 * kMargin - kTitle - kHead - kFoot;
        int column = 0;
        double used = 0;
        PosterPage page;
        std::vector<int> columnsUsed;
        const auto nextColumn = [&] {
            used = 0;
            if (++column == columns_) {
                columnsUsed.push_back(columns_);
                layout.pages.push_back(std::move(page));
                page = PosterPage{};
                column = 0;
            }
        };
        for (std::size_t row = 0; row < poster_.rows.size(); ++row) {
            Entry entry = entryOf(row);
            if (used + entry.height > room && used > 0)
                nextColumn();
            page.rows.push_back(static_cast<int>(row));
            // An entry taller than a column goes on in the next one, line by line, so that a
            // train with a very long list of stops or notes is printed whole.
            std::stable_sort(
                entry.texts.begin(), entry.texts.end(),
                [](const PosterText& a, const PosterText& b) { return a.top < b.top; });
            double base = used; // where the entry's top lies in the column
            for (PosterText& text : entry.texts) {
                if (base + text.top + posterLineHeight(text.size) > room && base + text.top > 0) {
                    nextColumn();
                    base = -text.top;
                }
                text.x += kMargin + column * (column_ + kGap);
                text.top += kMargin + kTitle + kHead + 3 + base;
                page.texts.push_back(std::move(text));
            }
            used = base + entry.height;
        }
        columnsUsed.push_back(column + 1);
        layout.pages.push_back(std::move(page));
        for (std::size_t k = 0; k < layout.pages.size(); ++k)
            frame(layout.pages[k], static_cast<int>(k) + 1, static_cast<int>(layout.pages.size()),
                  columnsUsed[k]);
        return layout;
    }

private:
    std::size_t trackColumn() const { return poster_.heads.size() - 2; }

    double widest(std::size_t column, const char* mark) const {
        double out = 0;
        for (const auto& cells : poster_.rows)
            out = std::max(out, measure_(cells[column] + mark, main_, true));
        return out;
    }

    Entry entryOf(std::size_t row) const {
        const auto& cells = poster_.rows[row];
        Entry entry;
        const double mainLine = posterLineHeight(main_);
        const double smallLine = posterLineHeight(small_);
        std::string time = cells[kPosterTime];
        if (poster_.timeToCheck[row])
            time += kTimeMark;
        std::string track = cells[trackColumn()];
        if (poster_.trackToCheck[row])
            track += kTrackMark;
        // A time or a track wider than its column is broken onto more lines, never cut.
        double height = 0;
        for (const auto& [text, x, width, right] :
             {std::tuple{time, 0.0, timeWidth_, false},
              std::tuple{track, column_ - trackWidth_, trackWidth_, true}}) {
            const auto lines = wrappedLines(text, width, main_, true, measure_);
            for (std::size_t k = 0; k < lines.size(); ++k)
                entry.texts.push_back({x, k * mainLine, width, main_, true, right, lines[k]});
            height = std::max(height, lines.size() * mainLine);
        }
        const double middle = column_ - timeWidth_ - trackWidth_ - kTrackGap;
        const auto first = wrappedLines(cells[kPosterTrain] + "  " + cells[kPosterPlace], middle,
                                        main_, false, measure_);
        for (std::size_t k = 0; k < first.size(); ++k)
            entry.texts.push_back(
                {timeWidth_, k * mainLine, middle, main_, false, false, first[k]});
        height = std::max(height, first.size() * mainLine);

        // The stops (departures) and the notes, in the columns between the place and the track
        // and after it.
        std::string more;
        for (std::size_t c = kPosterPlace + 1; c < cells.size(); ++c) {
            if (c != trackColumn() && !cells[c].empty())
                more += (more.empty() ? "" : " · ") + cells[c];
        }
        const double below = column_ - timeWidth_;
        for (const std::string& line : wrappedLines(more, below, small_, false, measure_)) {
            entry.texts.push_back({timeWidth_, height, below, small_, false, false, line});
            height += smallLine;
        }
        entry.height = height + entryGap_;
        return entry;
    }

    // The title, the station's name, the page number, the column heads and the footnote.
    void frame(PosterPage& page, int number, int pages, int columns) const {
        std::string title = poster_.title;
        std::transform(title.begin(), title.end(), title.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
        const double half = (kPosterWidth - 2 * kMargin) / 2;
        page.texts.push_back({kMargin, kMargin + 4, half, 24, true, false, title});
        stationName(page, kMargin + half, half);
        if (!poster_.validity.empty())
            page.texts.push_back(
                {kMargin, kMargin + kTitle - 10, half, 7.5, false, false, poster_.validity});
        page.texts.push_back({kMargin + half, kMargin + kTitle - 10, half, 7.5, false, true,
                              std::string("Pagina ")
                                  .append(std::to_string(number))
                                  .append(" di ")
                                  .append(std::to_string(pages))});

        const double y = kMargin + kTitle;
        for (int c = 0; c < columns; ++c) {
            const double x = kMargin + c * (column_ + kGap);
            page.texts.push_back(
                {x, y + 1.5, timeWidth_, kHeadSize, true, false, poster_.heads[kPosterTime]});
            page.texts.push_back({x + timeWidth_, y + 1.5,
                                  column_ - timeWidth_ - trackWidth_ - kTrackGap, kHeadSize, true,
                                  false,
                                  std::string(poster_.heads[kPosterTrain])
                                      .append(" e ")
                                      .append(lowered(poster_.heads[kPosterPlace]))});
            page.texts.push_back({x + column_ - trackWidth_, y + 1.5, trackWidth_, kHeadSize, true,
                                  true, poster_.heads[trackColumn()]});
            page.rules.push_back({x, y + kHead, x + column_, y + kHead});
        }

        bool timeMarks = false;
        bool trackMarks = false;
        for (int row : page.rows) {
            timeMarks = timeMarks || poster_.timeToCheck[static_cast<std::size_t>(row)];
            trackMarks = trackMarks || poster_.trackToCheck[static_cast<std::size_t>(row)];
        }
        std::string foot;
        if (timeMarks)
            foot += std::string(kTimeMark) + " orario da verificare";
        if (trackMarks)
            foot += std::string(foot.empty() ? "" : "     ")
                        .append(kTrackMark)
                        .append(" binario da verificare");
        if (!foot.empty())
            page.texts.push_back({kMargin, kPosterHeight - kMargin - kFoot + 2,
                                  kPosterWidth - 2 * kMargin, small_, false, false, foot});
    }

    // The station's name whole in its half of the title band: smaller and wrapped where long.
    void stationName(PosterPage& page, double x, double width) const {
        const std::string name = "Stazione di " + poster_.station;
        const double band = kTitle - 12;
        double size = 13;
        std::vector<std::string> lines;
        for (;; size -= 0.5) {
            lines = wrappedLines(name, width, size, true, measure_);
            if (lines.size() * posterLineHeight(size) <= band || size <= 5)
                break;
        }
        const double top =
            kMargin + std::max(0.0, (band - lines.size() * posterLineHeight(size)) / 2);
        for (std::size_t k = 0; k < lines.size(); ++k)
            page.texts.push_back(
                {x, top + k * posterLineHeight(size), width, size, true, true, lines[k]});
    }

    const Poster& poster_;
    const MeasureText& measure_;
    int columns_;
    double column_;
    double main_;
    double small_;
    double entryGap_;
    double timeWidth_ = 0;
    double trackWidth_ = 0;
};

} // namespace

double posterLineHeight(double size) {
    return size * 1.2;
}

// A line is as wide as its words and the spaces between them, so that each word is measured once.
std::vector<std::string> wrappedLines(std::string_view text, double width, double size, bool bold,
                                      const MeasureText& measure) {
    std::vector<std::string> lines;
    std::string line;
    double used = 0;
    const double space = measure(" ", size, bold);
    const auto fits = [&](std::string_view candidate) {
        return measure(candidate, size, bold) <= width;
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        std::string_view word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        double wide = measure(word, size, bold);
        if (!line.empty() && used + space + wide <= width) {
            line.append(" ").append(word);
            used += space + wide;
            continue;
        }
        if (!line.empty())
            lines.push_back(std::move(line));
        // A word wider than the line alone is broken where it has to be, a character at least
        // on each line.
        while (wide > width) {
            std::size_t cut = nextCharacter(word, 0);
            while (cut < word.size() && fits(word.substr(0, nextCharacter(word, cut))))
                cut = nextCharacter(word, cut);
            lines.emplace_back(word.substr(0, cut));
            word = word.substr(cut);
            wide = word.empty() ? 0 : measure(word, size, bold);
        }
        line = std::string(word);
        used = wide;
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

PosterLayout posterLayoutIn(const Poster& poster, const MeasureText& measure, int columns,
                            double tight) {
    return PageMaker(poster, measure, columns, tight).run();
}

PosterLayout posterLayout(const Poster& poster, const MeasureText& measure) {
    // The columns that take the fewest pages; where type up to 15 % smaller saves a page, the
    // least tightening that does.
    auto fewestPages = [&](double tight) {
        PosterLayout best = posterLayoutIn(poster, measure, 2, tight);
        for (int columns : {3, 4}) {
            PosterLayout layout = posterLayoutIn(poster, measure, columns, tight);
            if (layout.pages.size() < best.pages.size())
                best = std::move(layout);
        }
        return best;
    };
    PosterLayout best = fewestPages(1.0);
    for (double tight : {0.95, 0.9, 0.85}) {
        if (best.pages.size() == 1)
            break;
        PosterLayout tighter = fewestPages(tight);
        if (tighter.pages.size() < best.pages.size())
            return tighter;
    }
    return best;
}

} // namespace zeb
