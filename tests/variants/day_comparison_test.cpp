#include "layout/notice_layout.h"
#include "timetable/train_times.h"
#include "variants/day_comparison.h"
#include "variants/perturbation.h"

#include "model/train_append.h"
#include "timetable/test_trains.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace zeb {
namespace {

using test::stationWith;

Scenario normalDay() {
    return stationWith({{"2231", "Nordia", "7:44", "Sudia", "7:45", "1"},
                        {"2233", "Nordia", "8:44", "Sudia", "8:45", "2"},
                        {"2233", "Nordia", "9:44", "Sudia", "9:45", "1"},
                        {"2235", "Sudia", "10:10", "", "", "2"}});
}

TEST(DayComparison, ListsWhatTheVariantChanged) {
    Scenario variant = normalDay();
    variant.treni[0].binario = "2";
    variant.treni[0].codice_sussidiaria = "1";
    variant.treni[2].ora_partenza = "10"; // the second 2233, known by its time
    variant.treni[2].min_partenza = "05";
    variant.treni[3] = variant.treni[1];
    variant.treni[3].numero = "9901";
    const std::vector<TrainDifference> differences = compareDays(normalDay(), variant);
    EXPECT_EQ(differenceLines(normalDay(), variant, differences),
              (std::vector<std::string>{
                  "2231 07:44 Binario: 1 → 2", "2231 07:44 Indicazioni: Nessuna → Soppresso",
                  "9901 08:44 aggiunto", "2233 09:44 Partenza: 9:45 → 10:05", "2235 10:10 tolto"}));
    EXPECT_EQ(differenceSummary(differences), "2 treni cambiati, 1 tolto, 1 aggiunto");
    // What a train has not is the empty cell, one way for every field.
    Scenario cut = normalDay();
    cut.treni[0].destinazione.clear();
    cut.treni[0].ora_partenza = cut.treni[0].min_partenza = "-";
    cut.treni[0].fermate = "-";
    EXPECT_EQ(differencesCsv(normalDay(), cut, compareDays(normalDay(), cut)),
              "\xEF\xBB\xBFNumero;Orario;Cambiamento;Prima;Dopo\r\n2231;07:44;Destinazione;Sudia;"
              "\r\n2231;07:44;Partenza;7:45;\r\n2231;07:44;Fermate;Pieve;\r\n");
    EXPECT_EQ(differenceSummary(compareDays(variant, variant)), "I due giorni sono uguali");
    EXPECT_TRUE(differencesCsv(normalDay(), variant, differences)
                    .starts_with("\xEF\xBB\xBFNumero;Orario;Cambiamento;Prima;Dopo\r\n"
                                 "2231;07:44;Binario;1;2\r\n2231;07:44;Indicazioni;Nessuna;"));
}

// The notice sorts the changes for passengers; laid out with any widths of type, nothing passes
// the page's edges, however long a name.
TEST(DayComparison, TheNoticeSortsAndHoldsEveryChange) {
    Scenario variant = normalDay();
    variant.treni[0].codice_sussidiaria = "1";
    variant.treni[1].binario = "1";
    variant.treni[2].destinazione.clear();
    variant.treni[3].provenienza = std::string(300, 'X') + " Centrale"; // no word a line holds
    const std::vector<NoticeSection> sections =
        noticeSections(normalDay(), variant, compareDays(normalDay(), variant));
    std::string listed;
    for (const NoticeSection& section : sections) {
        listed += section.title + ":";
        for (const NoticeRow& row : section.rows)
            listed += " " + row.time + " " + row.number + " " + row.place + " " + row.change + ";";
    }
    EXPECT_EQ(listed, "Treni soppressi: 07:44 2231 per Sudia ;Treni limitati: 09:44 2233 da "
                      "Nordia termina qui invece di proseguire per Sudia;Cambi di binario: 08:44 "
                      "2233 per Sudia binario 1 invece del 2;");
    // A delay is said as how late the train may be; lowered to none it is no news, lowered to
    // another it is said as smaller.
    const struct {
        const char* before;
        const char* after;
        const char* said; // "" for no row
    } delays[] = {
        {"0", "1", "ritardo previsto fino a 5 minuti"},
        {"0", "3", "ritardo previsto fino a 1 ora e 50 minuti"},
        {"2", "4", "ritardo previsto fino a 3 ore e 50 minuti"},
        {"3", "2", "ritardo previsto ridotto: fino a 30 minuti invece di 1 ora e 50 minuti"},
        {"2", "0", ""},
    };
    for (const auto& delay : delays) {
        Scenario base = normalDay(), late = normalDay();
        base.treni[0].ritardo = delay.before;
        late.treni[0].ritardo = delay.after;
        std::string said;
        for (const NoticeSection& section : noticeSections(base, late, compareDays(base, late)))
            for (const NoticeRow& row : section.rows)
                said += section.title + ": " + row.change;
        EXPECT_EQ(said, *delay.said ? std::string("Ritardi: ") + delay.said : "")
            << delay.before << " → " << delay.after;
    }
    for (int rows : {1, 400}) {
        std::vector<NoticeSection> many(1, {"Ritardi", {}});
        for (int k = 0; k < rows; ++k)
            many[0].rows.push_back(
                {"07:00", "2231", "Regionale", "per " + variant.treni[3].provenienza, "ritardo"});
        const MeasureText measure = [](std::string_view text, double size, bool bold) {
            return static_cast<double>(text.size()) * size * (bold ? 0.62 : 0.55);
        };
        // A station whose title does not fit one line: wrapped, and heading every later page.
        const std::string station = "Centrale di Valmora e delle Valli del Nord Orientale";
        const std::vector<NoticePage> pages =
            noticePages(measure, station, "Variazioni di lunedì 7 dicembre 2026", many);
        EXPECT_EQ(pages.size() > 1, rows > 1);
        for (std::size_t k = 1; k < pages.size(); ++k)
            EXPECT_EQ(pages[k].front().text.rfind("Stazione di Centrale di Valmora", 0), 0u) << k;
        std::size_t letters = 0;
        for (const NoticePage& page : pages) {
            for (const PlacedText& text : page) {
                EXPECT_LE(text.x + measure(text.text, text.size, text.bold), kNoticeWidth - 40);
                EXPECT_LE(text.y, kNoticeHeight - 10);
                letters +=
                    static_cast<std::size_t>(std::count(text.text.begin(), text.text.end(), 'X'));
            }
        }
        EXPECT_EQ(letters, 300u * static_cast<std::size_t>(rows)) << "every letter drawn once";
    }
}

// Whatever tracks and delays a seed changes, the comparison finds exactly those trains and fields.
TEST(DayComparison, FindsExactlyTheChangesMade) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<test::Train> trains;
        for (int k = 0; k < 40; ++k)
            trains.push_back({std::to_string(2200 + k % 25), "Nordia",
                              std::to_string(6 + k / 3) + ":" + std::to_string(k % 3 * 20), "Sudia",
                              std::to_string(6 + k / 3) + ":" + std::to_string(k % 3 * 20 + 5)});
        const Scenario base = stationWith(trains);
        Scenario variant = base;
        std::set<std::string> made;
        for (int change = 0; change < 6; ++change) {
            const int k = static_cast<int>(random() % 40);
            Treno& t = variant.treni[static_cast<std::size_t>(k)];
            const bool track = random() % 2 == 0;
            (track ? t.binario : t.ritardo) = track ? "9" : "3";
            made.insert(trainAndTime(base, variant, {TrainDifference::Kind::Changed, k, k}) +
                        (track ? " Binario" : " Ritardo"));
        }
        std::set<std::string> found;
        for (const TrainDifference& d : compareDays(base, variant)) {
            ASSERT_EQ(d.kind, TrainDifference::Kind::Changed);
            for (const FieldChange& change : d.changes)
                found.insert(trainAndTime(base, variant, d) + " " + change.field);
        }
        EXPECT_EQ(found, made);
    }
}

// Perturbations one after the other: the comparison with the base names exactly the trains they
// changed, a cancelled train stays as it was cancelled, a bus gets no track, and a seed takes the
// same trains every time.
TEST(Perturbation, TheComparisonFindsWhatThePerturbationsDid) {
    using Action = Perturbation::Action;
    std::vector<test::Train> trains;
    for (int k = 0; k < 120; ++k)
        trains.push_back({std::to_string(3000 + k), "Nordia", clockText(300 + k * 7), "Sudia",
                          clockText(302 + k * 7), k % 2 ? "1" : "2",
                          k % 10 == 0 ? "Autobus" : "Regionale"});
    const Scenario base = stationWith(trains);
    Scenario day = base;
    std::set<int> touched;
    const std::vector<std::pair<TrainFilter, Perturbation>> steps = {
        {{.from = 9 * 60,
          .to = 17 * 60,
          .categories = {"Regionale"},
          .sharePercent = 50,
          .seed = 7},
         {.action = Action::Cancel}},
        {{.from = 6 * 60, .to = 9 * 60}, {.action = Action::ChangeTrack, .track = "2"}},
        {{.from = 11 * 60, .to = 12 * 60}, {.action = Action::EndHere}},
        {{.sharePercent = 30, .seed = 3}, {.action = Action::Delay, .delayShares = {60, 30, 10}}},
    };
    for (const auto& [filter, perturbation] : steps) {
        const std::vector<int> chosen = filteredTrains(day, filter);
        EXPECT_EQ(chosen, filteredTrains(day, filter)) << "the seed decides";
        for (const PerturbationChange& change : perturb(day, chosen, perturbation, {}))
            touched.insert(change.train);
    }
    std::set<int> found;
    for (const TrainDifference& d : compareDays(base, day)) {
        ASSERT_EQ(d.kind, TrainDifference::Kind::Changed);
        found.insert(d.base);
    }
    EXPECT_EQ(found, touched);
    for (int k = 0; k < day.totale_treni; ++k) {
        const Treno& t = day.treni[static_cast<std::size_t>(k)];
        const Treno& was = base.treni[static_cast<std::size_t>(k)];
        if (isCancelled(t) || t.categoria == "Autobus") {
            EXPECT_EQ(t.binario, was.binario) << t.numero;
        }
        if (isCancelled(t)) {
            EXPECT_EQ(t.destinazione + t.ritardo, was.destinazione + was.ritardo) << t.numero;
        }
    }
}

// A share is that share of the trains chosen, rounded, whatever the seed; a train is in a window
// when it is at the station during it, however long it stands.
TEST(Perturbation, AShareTakesThatShareOfTheTrainsAtTheStationInTheWindow) {
    std::vector<test::Train> trains;
    for (int k = 0; k < 67; ++k)
        trains.push_back({std::to_string(3000 + k), "Nordia", clockText(9 * 60 + k * 7), "Sudia",
                          clockText(9 * 60 + k * 7 + 2), "1"});
    const Scenario day = stationWith(trains);
    std::set<std::vector<int>> drawn;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        for (const auto& [share, count] :
             {std::pair{50, 34u}, std::pair{0, 0u}, std::pair{100, 67u}, std::pair{10, 7u}}) {
            const auto chosen = filteredTrains(day, {.sharePercent = share, .seed = seed});
            EXPECT_EQ(chosen.size(), count) << share << " % with seed " << seed;
            EXPECT_TRUE(std::is_sorted(chosen.begin(), chosen.end()));
            if (share == 50)
                drawn.insert(chosen);
        }
    }
    EXPECT_GT(drawn.size(), 5u) << "the seed chooses which";

    const Scenario standing = stationWith({{"1", "Nordia", "08:50", "Sudia", "09:05", "1"},
                                           {"2", "Nordia", "08:40", "Sudia", "08:45", "1"},
                                           {"3", "Nordia", "23:50", "Sudia", "00:20", "1"},
                                           {"4", "", "", "Sudia", "09:00", "1"},
                                           {"5", "Nordia", "17:00", "", "", "1"}});
    const struct {
        int from, to;
        std::vector<int> trains;
    } windows[] = {{9 * 60, 17 * 60, {0, 3, 4}},
                   {0, 10, {2}},
                   {23 * 60, 30, {2}},
                   {8 * 60 + 45, 8 * 60 + 49, {1}},
                   {8 * 60 + 46, 8 * 60 + 49, {}}};
    for (const auto& w : windows)
        EXPECT_EQ(filteredTrains(standing, {.from = w.from, .to = w.to}), w.trains)
            << clockText(w.from) << "-" << clockText(w.to);
}

// The first free track follows the train's rule: its preferred first, then those it allows,
// never one it forbids; a train no rule takes goes to the first free track of the station.
TEST(Perturbation, TheFirstFreeTrackFollowsTheRules) {
    Scenario day = stationWith({{"2231", "Aeroporto", "10:00", "Centro", "10:05", "1"},
                                {"2233", "Nordia", "10:00", "Sudia", "10:05", "2"},
                                {"2235", "Nordia", "12:00", "Sudia", "12:05", "2"}});
    day.binari_scelti[2] = true; // tracks 1, 2 and 3
    rebuildTrackTable(day);
    const TrackRules rules = {{"", "aeroporto", "", RulePassage::Any, -1, -1, {"3"}, {"2"}}};
    const Perturbation move{.action = Perturbation::Action::ChangeTrack};
    Scenario ruled = day;
    perturb(ruled, {0, 2}, move, {}, {}, rules);
    EXPECT_EQ(ruled.treni[0].binario + ruled.treni[2].binario, "31");
    Scenario full = day;
    full.treni[2].ora_arrivo = "10";
    full.treni[2].min_arrivo = "01";
    full.treni[2].binario = "3"; // its preferred track taken, the one it allows too: it stays
    perturb(full, {0}, move, {}, {}, rules);
    EXPECT_EQ(full.treni[0].binario, "1");
    Scenario free = day;
    perturb(free, {0}, move, {}, {});
    EXPECT_EQ(free.treni[0].binario, "1") << "without rules: the first free, its own";
}

// A unit moved to another track goes whole, and both its trains are listed as changed.
TEST(Perturbation, AUnitChangesTrackWhole) {
    Scenario day = stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                                {"2002", "", "", "Nordia", "10:30", "1"},
                                {"3001", "Ovest", "10:20", "Est", "10:22", "2"},
                                {"4001", "Ovest", "10:05", "Est", "10:07", "1"}});
    const Scenario base = day;
    const TrainLinks unit{{0, 1}};
    const auto changes =
        perturb(day, {1}, {.action = Perturbation::Action::ChangeTrack, .track = "2"}, {}, unit);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].text, "2001 10:00: binario 1 → 2");
    EXPECT_EQ(day.treni[0].binario + day.treni[1].binario, "22");
    EXPECT_EQ(compareDays(base, day).size(), 2u);
    // The first free track reckons with the whole unit: 3001 at 10:20 leaves track 2 free for
    // 2001 alone, not for the unit standing until 10:30.
    for (const auto& [links, track] : {std::pair{TrainLinks{}, "2"}, std::pair{unit, "1"}}) {
        Scenario again = base;
        perturb(again, {0}, {.action = Perturbation::Action::ChangeTrack}, {}, links);
        EXPECT_EQ(again.treni[0].binario, track) << links.size();
    }
}

} // namespace
} // namespace zeb
