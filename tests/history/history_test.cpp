#include "history/history.h"

#include "history/change_news.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace zeb {
namespace {

std::vector<Treno> storedTrains(const Scenario& s) {
    return {s.treni.begin(), s.treni.begin() + s.totale_treni};
}

// One random edit of the kinds the commands make: trains inserted or removed at one place,
// changed here and there (some to what they already were), or the station renamed.
void randomEdit(Scenario& s, std::mt19937& random) {
    std::vector<Treno> trains = storedTrains(s);
    auto at = [&](std::size_t bound) { return bound == 0 ? 0 : random() % bound; };
    const std::size_t position = at(trains.size() + 1);
    const std::size_t count = 1 + at(3);
    switch (random() % 4) {
    case 0:
        for (std::size_t k = 0; k < count && trains.size() < kMaxTrains; ++k) {
            trains.insert(trains.begin() + static_cast<long>(position), Treno{});
            trains[position].numero = "n" + std::to_string(random() % 1000);
        }
        break;
    case 1:
        trains.erase(trains.begin() + static_cast<long>(std::min(position, trains.size())),
                     trains.begin() + static_cast<long>(std::min(position + count, trains.size())));
        break;
    case 2:
        for (std::size_t k = 0; k < count && !trains.empty(); ++k) {
            Treno& t = trains[at(trains.size())];
            t.note = random() % 3 == 0 ? t.note : "nota " + std::to_string(random() % 5);
        }
        break;
    default:
        s.nome_stazione = "Stazione " + std::to_string(random() % 3);
    }
    std::fill(s.treni.begin(), s.treni.end(), Treno{});
    std::copy(trains.begin(), trains.end(), s.treni.begin());
    s.totale_treni = static_cast<int>(trains.size());
}

// Whatever a step did, the news of it, of its undo and of its redo name exactly the rows that
// differ, and say whether the station changed.
TEST(History, ItsNewsNamesExactlyTheRowsThatDiffer) {
    std::mt19937 random(5);
    Scenario s = test::exampleScenario();
    History history;
    history.reset(s);
    for (int step = 0; step < 2000; ++step) {
        const std::vector<Treno> before = storedTrains(s);
        const std::string stationBefore = s.nome_stazione;
        randomEdit(s, random);
        const std::vector<Treno> after = storedTrains(s);
        const auto change = history.record(s, "passo");
        if (!change) {
            ASSERT_EQ(before, after) << "step " << step << ": a change went unrecorded";
            continue;
        }
        ASSERT_TRUE(test::announcesExactly(before, after, *change)) << "step " << step;
        ASSERT_EQ(change->station, s.nome_stazione != stationBefore);
        if (random() % 3 != 0)
            continue;
        const auto undone = history.undo(s);
        ASSERT_TRUE(undone);
        ASSERT_TRUE(test::announcesExactly(after, before, *undone)) << "undo of step " << step;
        ASSERT_EQ(storedTrains(s), before);
        const auto redone = history.redo(s);
        ASSERT_TRUE(redone);
        ASSERT_EQ(*redone, *change) << "a redo says what the step said";
    }
}

// Links follow their trains through trains inserted, removed here and there, or changed, and
// go with a train removed; an undo gives them back as they were.
TEST(History, LinksFollowTheirTrains) {
    std::mt19937 random(9);
    Scenario s;
    int made = 0;
    auto add = [&](std::vector<Treno>& trains, std::size_t at) {
        Treno t;
        t.numero = std::to_string(made++); // a train is known by its number here
        trains.insert(trains.begin() + static_cast<long>(std::min(at, trains.size())), t);
    };
    std::vector<Treno> trains;
    for (int k = 0; k < 40; ++k)
        add(trains, trains.size());
    auto store = [&] {
        std::fill(s.treni.begin(), s.treni.end(), Treno{});
        std::copy(trains.begin(), trains.end(), s.treni.begin());
        s.totale_treni = static_cast<int>(trains.size());
    };
    store();
    TrainLinks links;
    for (int k = 0; k + 1 < 40; k += 2)
        links.push_back({k, k + 1});
    History history;
    history.reset(s, links);
    for (int step = 0; step < 300; ++step) {
        const std::set<std::string> before = [&] {
            std::set<std::string> pairs;
            for (const TrainLink& link : history.links())
                pairs.insert(s.treni[link.arriving].numero + ">" + s.treni[link.leaving].numero);
            return pairs;
        }();
        const TrainLinks linksBefore = history.links();
        const std::size_t at = random() % (trains.size() + 1);
        switch (random() % 3) {
        case 0:
            for (int k = 0; k < 3; ++k)
                add(trains, at);
            break;
        case 1: // two trains apart
            for (int k = 0; k < 2 && !trains.empty(); ++k)
                trains.erase(trains.begin() + static_cast<long>(random() % trains.size()));
            break;
        default:
            if (!trains.empty())
                trains[at % trains.size()].note = "nota " + std::to_string(step);
        }
        store();
        const TrainLinks followed = history.followLinks(s);
        std::set<std::string> kept;
        for (const TrainLink& link : followed)
            kept.insert(s.treni[link.arriving].numero + ">" + s.treni[link.leaving].numero);
        std::set<std::string> expected;
        for (const std::string& pair : before) {
            const std::string first = pair.substr(0, pair.find('>'));
            const std::string second = pair.substr(pair.find('>') + 1);
            auto present = [&](const std::string& number) {
                return std::any_of(trains.begin(), trains.end(),
                                   [&](const Treno& t) { return t.numero == number; });
            };
            if (present(first) && present(second))
                expected.insert(pair);
        }
        ASSERT_EQ(kept, expected) << "step " << step;
        ASSERT_EQ(kept.size(), followed.size());
        if (!history.record(s, "passo"))
            continue;
        ASSERT_EQ(history.links(), followed);
        if (random() % 4 == 0) {
            history.undo(s);
            ASSERT_EQ(history.links(), linksBefore) << "step " << step;
            trains.assign(s.treni.begin(), s.treni.begin() + s.totale_treni);
        }
    }
}

// Past the steps or the bytes allowed (the copy of the scenario counted) the oldest steps go,
// and the latest always stays.
TEST(History, TheOldestStepsGo) {
    Scenario s = test::exampleScenario();
    s.treni[0].note.assign(1000, '-');
    History probe;
    probe.reset(s);
    const std::size_t copy = probe.memoryBytes();
    s.treni[0].note[0] = '+';
    probe.record(s, "probe");
    const std::size_t step = probe.memoryBytes() - copy;
    for (const auto& [steps, bytes] :
         {std::pair<std::size_t, std::size_t>{2, 1u << 30},
          std::pair<std::size_t, std::size_t>{200, copy + step * 5 / 2}}) {
        History history(steps, bytes);
        history.reset(s);
        for (const char* number : {"a", "b", "c"}) {
            s.treni[0].numero = number;
            s.treni[0].note.assign(1000, *number); // two records of 1 KB a step
            history.record(s, number);
            EXPECT_LE(history.memoryBytes(), bytes);
        }
        EXPECT_TRUE(history.undo(s) && history.undo(s) && !history.undo(s));
        EXPECT_EQ(s.treni[0].numero, "a");
    }
    History tiny(200, 10);
    tiny.reset(s);
    s.treni[0].numero = "x";
    tiny.record(s, "x");
    EXPECT_TRUE(tiny.canUndo()) << "the latest step stays however large";
    s.treni[s.totale_treni++].note.assign(1000, 'x');
    tiny.record(s, "+");
    tiny.undo(s);
    EXPECT_LE(s.treni[s.totale_treni].note.capacity(), 15u) << "an undone append frees its place";
}

} // namespace
} // namespace zeb
