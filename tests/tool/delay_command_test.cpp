#include "companion/editor_data.h"
#include "scenario_file/test_files.h"
#include "timetable/test_trains.h"
#include "tool/tool_command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zeb {
namespace {

// "ritardi" on a day of three trains on track 1: 2231 ends at 10:00 and may be up to 30 minutes
// late ("2"), 2245 starts at 10:40 after ten minutes of preparation; 3001 stands on track 2 alone.
class DelayCommand : public ::testing::Test {
protected:
    DelayCommand() {
        Scenario s = test::stationWith({{"2231", "Nordia", "10:00", "", "", "1"},
                                        {"2245", "", "", "Sudia", "10:40", "1"},
                                        {"3001", "Ovest", "12:00", "Est", "12:02", "2"}});
        s.treni[0].ritardo = "2";
        s.treni[1].ritardo = s.treni[2].ritardo = "0";
        saveScenarioPair(s, folder_.file("day.zeb"), {});
        s.treni[0].ritardo = "0";
        saveScenarioPair(s, folder_.file("punctual.zeb"), {});
    }

    // The exit status, then what was printed and what was reported, "|" between.
    std::string run(const std::string& file, std::map<std::string, std::string> options) {
        ToolArguments arguments{"ritardi", folder_.file(file), std::move(options)};
        std::ostringstream out, err;
        const int status = runToolCommand(coreCommands(), arguments, out, err);
        return std::to_string(status) + "|" + out.str() + "|" + err.str();
    }

    test::TempFolder folder_;
};

TEST_F(DelayCommand, SaysHowOftenTheDelaysMakeTheTracksClash) {
    // 2231 holds its track to 10:10 plus its delay; 2245 from 10:30: a clash from 18 minutes
    // late on (10:28 + 3 of separation), 13 of the 31 draws.
    const std::string late = run("day.zeb", {{"seme", "7"}});
    EXPECT_EQ(late.substr(0, 2), "1|");
    EXPECT_NE(late.find("1000 simulazioni con il seme 7: in media 0,"), std::string::npos) << late;
    EXPECT_NE(late.find("2231 10:00 binario 1: in conflitto nel 4"), std::string::npos) << late;
    EXPECT_NE(late.find("2245 10:40 binario 1: in conflitto nel 4"), std::string::npos) << late;
    EXPECT_EQ(late.find("3001"), std::string::npos) << "never late, never in the way";
    EXPECT_EQ(run("day.zeb", {{"seme", "7"}}), late) << "one seed, one answer";
    EXPECT_EQ(run("day.zeb", {{"massimo", ""}}),
              "1|Con ogni treno al suo ritardo massimo: 1 conflitto\nBinario 1: in conflitto\n"
              "2231 10:00 binario 1: in conflitto con 2245\n"
              "2245 10:40 binario 1: in conflitto con 2231\n|");
    EXPECT_EQ(run("punctual.zeb", {}), "0|1000 simulazioni con il seme 1: nessun conflitto\n|");
}

// verifica warns of a pair that clashes in more runs than the threshold allows.
TEST_F(DelayCommand, TheCheckerWarnsOfWhatClashesOftenEnough) {
    auto verifica = [this](std::map<std::string, std::string> options) {
        ToolArguments arguments{"verifica", folder_.file("day.zeb"), std::move(options)};
        std::ostringstream out, err;
        const int status = runToolCommand(coreCommands(), arguments, out, err);
        return std::to_string(status) + "|" + out.str() + "|" + err.str();
    };
    EXPECT_EQ(verifica({}), "0|0 errori, 0 avvisi\n|") << "42 % of the runs: under 50 %";
    const std::string warned = verifica({{"soglia-rischio", "40"}});
    EXPECT_EQ(warned.substr(0, 2), "0|");
    EXPECT_NE(warned.find("avviso: Treni 2231 e 2245, binario 1: in conflitto nel 4"),
              std::string::npos)
        << warned;
    EXPECT_NE(warned.find(" delle simulazioni con i ritardi previsti\n0 errori, 1 avviso\n"),
              std::string::npos)
        << warned;
    EXPECT_EQ(verifica({{"soglia-rischio", "0"}}),
              "2||zebrano-tool: --soglia-rischio vuole una percentuale da 1 a 100 (vedi "
              "zebrano-tool --help)\n");
}

// assegna --rischio parts 2231 and 2245, which clash in 42 % of the runs on track 1, and says
// so for the seed given; the same seed, the same answer.
TEST_F(DelayCommand, TheAssignmentWeighsTheDelaysWhenAsked) {
    auto assegna = [this](std::map<std::string, std::string> options) {
        options["output"] = folder_.file("out.zeb");
        options["treni"] = "tutti";
        ToolArguments arguments{"assegna", folder_.file("day.zeb"), std::move(options)};
        std::ostringstream out, err;
        const int status = runToolCommand(coreCommands(), arguments, out, err);
        return std::to_string(status) + "|" + out.str() + "|" + err.str();
    };
    const std::string plain = assegna({});
    EXPECT_EQ(plain.find("Conflitti attesi"), std::string::npos) << plain;
    const std::string weighed = assegna({{"rischio", ""}, {"seme", "7"}});
    EXPECT_NE(weighed.find("\nConflitti attesi con i ritardi: prima 0,4 per simulazione, dopo "
                           "0,0 (1000 simulazioni, seme 7)\n"),
              std::string::npos)
        << weighed;
    EXPECT_EQ(assegna({{"rischio", ""}, {"seme", "7"}}), weighed);
    EXPECT_EQ(assegna({{"rischio", ""}, {"simulazioni", "0"}}),
              "2||zebrano-tool: assegna vuole --simulazioni da 1 a 100000 e un --seme intero "
              "(vedi zebrano-tool --help)\n");
}

TEST_F(DelayCommand, WritesARowPerRunningTrain) {
    const std::string csv = folder_.file("rischio.csv");
    ASSERT_EQ(run("day.zeb", {{"massimo", ""}, {"csv", csv}}).substr(0, 2), "1|");
    EXPECT_EQ(test::readBytes(csv),
              "\xEF\xBB\xBFTreno;Ora;Binario;Indice ritardo;Quota conflitti;Con\r\n"
              "2231;10:00;1;2;100 %;2245\r\n2245;10:40;1;0;100 %;2231\r\n"
              "3001;12:02;2;0;0 %;\r\n");
}

TEST_F(DelayCommand, RefusesWhatItCannotDo) {
    const std::string use = " (vedi zebrano-tool --help)\n";
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"simulazioni", "0"}}, "ritardi vuole --simulazioni da 1 a 100000 e un --seme intero"},
        {{{"seme", "sette"}}, "ritardi vuole --simulazioni da 1 a 100000 e un --seme intero"},
        {{{"sosta", "-1"}}, "i minuti devono essere un numero intero da 0 a 1440"},
        {{{"ora", "10:00"}}, "l'opzione --ora non è del comando ritardi"},
    };
    for (const auto& [options, said] : cases)
        EXPECT_EQ(run("day.zeb", options), "2||zebrano-tool: " + said + use);
    EXPECT_EQ(run("missing.zeb", {}).substr(0, 3), "2||");
}

} // namespace
} // namespace zeb
