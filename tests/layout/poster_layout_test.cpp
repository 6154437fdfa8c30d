#include "layout/poster_layout.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zeb {
namespace {

// A type whose characters are all as wide, bold a little wider.
double monospaced(std::string_view text, double size, bool bold) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<double>(characters) * size * (bold ? 0.65 : 0.6);
}

std::string withoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

Scenario departuresOf(int trains, const std::string& fermate, const std::string& note) {
    Scenario s = test::stationWith({});
    s.nome_stazione = "Valmora";
    for (int i = 0; i < trains; ++i) {
        Treno& t = s.treni[s.totale_treni++];
        t.numero = std::to_string(2000 + i);
        t.categoria = "Interregionale";
        t.destinazione = "Rocca";
        t.ora_partenza = std::to_string(i / 60 % 24);
        t.min_partenza = std::to_string(i % 60);
        t.binario = i % 7 == 3 ? "9" : "1"; // 9: a track the station lacks
        t.fermate = fermate;
        t.note = note;
    }
    return s;
}

// Whatever the poster: each train once and in order, every line inside the page and as wide as
// its room at most, no two lines over each other, and every cell's text there whole.
void expectSound(const Poster& poster, const PosterLayout& layout) {
    const MeasureText measure = monospaced;
    int next = 0;
    std::string all;
    for (const PosterPage& page : layout.pages) {
        for (std::size_t a = 0; a < page.texts.size(); ++a) {
            const PosterText& t = page.texts[a];
            if (t.top > 70 && t.top < 560) // the trains' band, below the heads, above the foot
                all += t.text;
            EXPECT_LE(measure(t.text, t.size, t.bold), t.width + 1e-9) << t.text;
            EXPECT_GE(t.x, 0);
            EXPECT_LE(t.x + t.width, kPosterWidth);
            EXPECT_LE(t.top + posterLineHeight(t.size), kPosterHeight) << t.text;
            for (std::size_t b = 0; b < a; ++b) {
                const PosterText& u = page.texts[b];
                const double left = t.right ? t.x + t.width - measure(t.text, t.size, t.bold) : t.x;
                const double uLeft =
                    u.right ? u.x + u.width - measure(u.text, u.size, u.bold) : u.x;
                const bool apart = left + measure(t.text, t.size, t.bold) <= uLeft ||
                                   uLeft + measure(u.text, u.size, u.bold) <= left ||
                                   t.top + posterLineHeight(t.size) <= u.top + 1e-9 ||
                                   u.top + posterLineHeight(u.size) <= t.top + 1e-9;
                ASSERT_TRUE(apart) << "«" << t.text << "» over «" << u.text << "»";
            }
        }
        for (int row : page.rows)
            ASSERT_EQ(row, next++);
    }
    EXPECT_EQ(next, static_cast<int>(poster.rows.size()));
    all = withoutSpaces(all);
    for (const auto& cells : poster.rows) {
        for (const std::string& cell : cells)
            EXPECT_NE(all.find(withoutSpaces(cell)), std::string::npos) << cell.substr(0, 60);
    }
}

TEST(PosterLayout, EveryTrainWholeAndInOrder) {
    const std::string longWord(90, 'W'); // wider than any column: broken, not cut
    std::string longNotes;               // taller than a page: it goes on over the next columns
    for (int word = 0; word < 2000; ++word)
        longNotes += "nota" + std::to_string(word) + " ";
    const std::string fifteen = "Pieve,Rocca,Torre,Borgo San Donato,Campo,Valle Alta,Monte,"
                                "Ponte,Castello,Porto Nuovo,Lago,Bosco,Colle,Prato,Fonte,.";
    for (const auto& [trains, fermate, note] :
         {std::tuple{0, std::string("Pieve,."), std::string()},
          std::tuple{3, std::string("Pieve,."), std::string()},
          std::tuple{400, std::string("Pieve,."), std::string("Ferma a richiesta")},
          std::tuple{300, fifteen, std::string("Ferma a richiesta")},
          std::tuple{30, "Città di Castello," + longWord + ",.", "Nota " + longWord},
          std::tuple{3, std::string("Pieve,."), longNotes}}) {
        const Scenario s = departuresOf(trains, fermate, note);
        for (const Poster& poster : {departuresPoster(s), arrivalsPoster(s)}) {
            for (int columns : {2, 3, 4}) {
                SCOPED_TRACE(std::to_string(trains) + " trains, " + std::to_string(columns) +
                             " columns");
                expectSound(poster, posterLayoutIn(poster, monospaced, columns));
            }
        }
    }
}

// The columns that take the fewest pages; the marks footnoted on their pages only.
TEST(PosterLayout, FewestPagesAndTheMarks) {
    const Poster poster = departuresPoster(departuresOf(700, "Pieve,.", ""));
    const PosterLayout best = posterLayout(poster, monospaced);
    for (int columns : {2, 3, 4})
        EXPECT_LE(best.pages.size(), posterLayoutIn(poster, monospaced, columns).pages.size());
    EXPECT_GE(poster.rows.size() / best.pages.size(), 40u);
    // A day a little too long for a page is set on one page in slightly smaller type.
    for (int trains = 40;; ++trains) {
        const Poster day = departuresPoster(departuresOf(trains, "Pieve,.", ""));
        auto pagesIn = [&](int columns) {
            return posterLayoutIn(day, monospaced, columns).pages.size();
        };
        if (std::min({pagesIn(2), pagesIn(3), pagesIn(4)}) == 1)
            continue;
        const PosterLayout tight = posterLayout(day, monospaced);
        ASSERT_EQ(tight.pages.size(), 1u) << trains << " trains";
        expectSound(day, tight);
        break;
    }
    for (const PosterPage& page : best.pages) {
        const bool marked = std::any_of(page.rows.begin(), page.rows.end(), [&](int row) {
            return poster.trackToCheck[static_cast<std::size_t>(row)];
        });
        const bool footnote = std::any_of(page.texts.begin(), page.texts.end(), [](const auto& t) {
            return t.text.find("binario da verificare") != std::string::npos;
        });
        EXPECT_EQ(footnote, marked);
    }
}

// The station's name is never cut: shorter names at the title's size, long ones smaller and
// wrapped, all inside the title band.
TEST(PosterLayout, TheStationsNameWhole) {
    for (const std::string name : {"Valmora", "San Giovanni in Persiceto Borgo Vecchio e Frazioni "
                                              "della Valle Alta sul Fiume"}) {
        Scenario s = departuresOf(1, "Pieve,.", "");
        s.nome_stazione = name;
        const PosterPage page = posterLayout(departuresPoster(s), monospaced).pages.front();
        std::string shown;
        double size = 0;
        for (const PosterText& t : page.texts) {
            if (t.bold && t.right && t.top < 55) {
                shown += (shown.empty() ? "" : " ") + t.text;
                size = t.size;
                EXPECT_LE(t.top + posterLineHeight(t.size), 20 + 38 + 1e-9) << t.text;
            }
        }
        EXPECT_EQ(shown, "Stazione di " + name);
        EXPECT_EQ(size == 13, name.size() < 20) << size;
    }
}

TEST(PosterLayout, WrappedLinesBreakWordsOnlyWhenAlone) {
    const MeasureText measure = monospaced;
    // 10 points a character: lines of 4 characters at most.
    for (const auto& [text, lines] :
         {std::pair{std::string("ab cd ef"), std::vector<std::string>{"ab", "cd", "ef"}},
          std::pair{std::string("a b"), std::vector<std::string>{"a b"}},
          std::pair{std::string("abcdefghij k"), std::vector<std::string>{"abcd", "efgh", "ij k"}},
          std::pair{std::string("  "), std::vector<std::string>{}},
          std::pair{std::string("èèèèèè"), std::vector<std::string>{"èèèè", "èè"}}}) {
        EXPECT_EQ(wrappedLines(text, 40, 1 / 0.6 * 10, false, measure), lines) << text;
    }
}

} // namespace
} // namespace zeb
