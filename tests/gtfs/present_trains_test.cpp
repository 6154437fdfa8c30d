#include "gtfs/present_trains.h"

#include "gtfs/feed_source.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/kind_categories.h"
#include "gtfs/station_list.h"
#include "gtfs/valle_feed.h"
#include "model/train_append.h"
#include "model/value_tables.h"
#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using namespace date::literals;

ChosenTrains valmoraDay() {
    const auto source = feedFromTexts(test::valleFeed());
    const GtfsFeed feed = loadFeed(*source);
    const StationDay day =
        readStationDay(feed, stationsNamed(feed, "Valmora").at(0), 2024_y / 3 / 6);
    return chooseTrains(day, {}, test::stationWith({}));
}

// The same day imported twice: the trains already there are left out, replaced keeping what the
// user gave them, or added again; any way, nothing else of the scenario changes.
TEST(GtfsPresentTrains, ASecondImportOfTheDaySettlesTheTrainsThere) {
    Scenario once = test::stationWith({});
    ChosenTrains first = valmoraDay();
    appendTrains(once, first.trains);
    Treno& kept = once.treni[1]; // 2231, on track 1 by the feed
    kept.binario = "2";
    kept.note = "a cura del capostazione";
    kept.ritardo = "3";
    kept.sussidiaria = std::string(kSussidiarie[1]);
    kept.codice_sussidiaria = "1";
    const struct {
        PresentTrains how;
        int trains;
        std::size_t replaced;
    } cases[] = {{PresentTrains::AddNew, 3, 0},
                 {PresentTrains::Replace, 3, 3},
                 {PresentTrains::AddAll, 6, 0}};
    for (const auto& c : cases) {
        Scenario s = once;
        ChosenTrains again = valmoraDay();
        SettledImport settled = settleImport(s, std::move(again), c.how);
        EXPECT_EQ(settled.present, 3);
        EXPECT_EQ(settled.replaced.size(), c.replaced);
        EXPECT_FALSE(settledRefusal(s, settled));
        applySettled(s, settled);
        EXPECT_EQ(s.totale_treni, c.trains);
        EXPECT_EQ(s.treni[1], kept) << "what the user gave the train stays";
    }
}

TEST(GtfsPresentTrains, APlannersCategoriesAreReadOrRefusedByLine) {
    EXPECT_EQ(readKindCategories("\xEF\xBB\xBFtipo;categoria\r\nAVE;Eurostar\n\nre ; regionale\n"),
              (std::map<std::string, int>{{"ave", 6}, {"re", 13}}));
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"AVE;Frecce\n", "riga 1: «Frecce» non è una categoria; le categorie sono Autobus, "},
        {"AVE\n", "riga 1: servono due valori, tipo;categoria, non «AVE»"},
        {"AVE;Eurostar\n;Regionale\n", "riga 2: manca il tipo di servizio"},
    };
    for (const auto& [csv, message] : refused) {
        try {
            readKindCategories(csv);
            ADD_FAILURE() << csv;
        } catch (const GtfsError& error) {
            EXPECT_TRUE(error.message().starts_with(message)) << error.message();
        }
    }
}

} // namespace
} // namespace zeb
