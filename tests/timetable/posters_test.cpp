#include "timetable/posters.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

std::string rows(const Poster& poster) {
    std::string out;
    for (const auto& row : poster.rows) {
        std::string line;
        for (const auto& cell : row)
            line += (line.empty() ? "" : "|") + cell;
        out += line + "\n";
    }
    return out;
}

TEST(Posters, RowsByTimeWithTheirColumns) {
    Scenario s = test::stationWith(
        {{"2231", "Campo", "7:30", "Borgo", "7:45"},
         {"88", "Pieve", "6:5", "", "", "99", "Autobus"},
         {"9", "", "", "Rocca", "25:00"},
         {"2235", "", "", "Alto", "6:12", "2", "Intercity", " Pieve , Rocca,,Torre,."}});
    s.nome_stazione = "Valmora";
    s.treni[0].sussidiaria = "Soppresso";
    s.treni[0].note = "sostituito da bus";
    s.treni[3].sussidiaria = "Nessuna";

    const Poster departures = departuresPoster(s);
    EXPECT_EQ(departures.title + " " + departures.station, "Partenze Valmora");
    EXPECT_EQ(departures.heads.size(), 6u);
    EXPECT_EQ(rows(departures), "06:12|Intercity 2235|Alto|Pieve - Rocca - Torre|2|\n"
                                "07:45|Regionale 2231|Borgo|Pieve|1|Soppresso - sostituito da bus\n"
                                "25:00|Regionale 9|Rocca|Pieve|1|\n");
    EXPECT_EQ(departures.timeToCheck, (std::vector<bool>{false, false, true}));
    const Poster arrivals = arrivalsPoster(s);
    EXPECT_EQ(arrivals.heads,
              (std::vector<std::string>{"Ora", "Treno", "Provenienza", "Binario", "Note"}));
    EXPECT_EQ(rows(arrivals), "06:05|Autobus 88|Pieve||\n"
                              "07:30|Regionale 2231|Campo|1|Soppresso - sostituito da bus\n");
    s.treni[0].binario = "5"; // a track the station lacks
    EXPECT_EQ(arrivalsPoster(s).trackToCheck, (std::vector<bool>{false, true}));
}

// The words every place and stop shares go; a name that would be left empty keeps them.
TEST(Posters, SharedWordsAndValidity) {
    Scenario s = test::stationWith({{"1", "", "", "San Francisco Caltrain", "7:00"},
                                    {"2", "", "", "Millbrae Caltrain", "8:00"}});
    s.treni[0].fermate = "Hillsdale Caltrain,Caltrain,.";
    s.treni[1].fermate = ",.";
    EXPECT_EQ(rows(departuresPoster(s)), "07:00|Regionale 1|San Francisco|Hillsdale - Caltrain|1|\n"
                                         "08:00|Regionale 2|Millbrae||1|\n");
    s.treni[1].destinazione = "Millbrae";
    EXPECT_EQ(departuresPoster(s).rows[0][kPosterPlace], "San Francisco Caltrain");
    EXPECT_EQ(posterValidity({2016, 4, 13}, {2016, 6, 30}), "Valido dal 13/04/2016 al 30/06/2016");
    EXPECT_EQ(posterValidity({2016, 4, 13}, {2016, 4, 13}), "Valido il 13/04/2016");
}

} // namespace
} // namespace zeb
