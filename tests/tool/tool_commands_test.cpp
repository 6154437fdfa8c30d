#include "tool/tool_commands.h"

#include "companion/editor_data.h"
#include "scenario_file/test_files.h"
#include "timetable/test_trains.h"
#include "timetable/train_links.h"
#include "tool/assign_command.h"
#include "tool/compare_command.h"
#include "tool/link_command.h"
#include "tool/tool_files.h"
#include "variants/day_names.h"

#if defined(ZEB_WITH_GTFS)
#include "gtfs/valle_feed.h"
#include "tool/gtfs_command.h"
#endif
#if !defined(_WIN32)
#include "companion/kill_harness.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>

namespace zeb {
namespace {

// A command's exit status, then what it printed and what it reported, "|" between.
template <class Command> std::string run(Command command) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(out, err);
    return std::to_string(status) + "|" + out.str() + "|" + err.str();
}

class ZebranoTool : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeBytes(path("good.zeb"), test::exampleFileBytes());
        test::writeBytes(path("conflicts.zeb"), test::sampleFile("four_trains.zeb"));
    }
    std::string path(const char* name) const { return folder.file(name); }
    std::string verifica(const char* name) {
        return run([&](auto& o, auto& e) { return verificaCommand(path(name), {}, o, e); });
    }
    std::string importa(const char* csv, const char* output) {
        return run([&](auto& o, auto& e) {
            return importaCommand(path(csv), path("base.zeb"), path(output), o, e);
        });
    }

    test::TempFolder folder;
};

TEST_F(ZebranoTool, VerificaExitsByWhatItFinds) {
    EXPECT_EQ(verifica("good.zeb"), "0|0 errori, 0 avvisi\n|");
    EXPECT_EQ(verifica("conflicts.zeb"), "1|errore: Treni 1 (2231) e 2 (2233), binario 1: occupato "
                                         "insieme dalle 07:44 alle 07:45\n1 errore, 0 avvisi\n|");
    EXPECT_EQ(verifica("missing.zeb").rfind("2||" + path("missing.zeb") + ": 2 ", 0), 0u)
        << verifica("missing.zeb");
}

TEST_F(ZebranoTool, EsportaAndImportaMakeTheSameScenarioAgain) {
    const std::string csv =
        run([&](auto& o, auto& e) { return esportaCommand(path("good.zeb"), {}, o, e); });
    EXPECT_EQ(csv.substr(0, 11), "0|\xEF\xBB\xBFNumero");
    EXPECT_EQ(run([&](auto& o, auto& e) {
                  return esportaCommand(path("good.zeb"), path("trains.csv"), o, e);
              }),
              "0||");
    EXPECT_EQ("0|" + test::readBytes(path("trains.csv")) + "|", csv);

    // BASE with no trains: its header alone.
    const std::string example = test::exampleFileBytes();
    test::writeBytes(path("base.zeb"), example.substr(0, example.find("\r\n\r\n") + 2));
    EXPECT_EQ(importa("trains.csv", "new.zeb").substr(0, 2), "0|");
    EXPECT_EQ(test::readBytes(path("new.zeb")), example);

    test::writeBytes(path("bad.csv"), "Numero;Arrivo;Provenienza\n1;99:99;X\n");
    const std::string refused = importa("bad.csv", "never.zeb");
    EXPECT_EQ(refused.substr(0, 2), "1|");
    EXPECT_NE(refused.find("Riga 2, Arrivo: «99:99» non è un orario valido"), std::string::npos);
    EXPECT_EQ(folder.listing().find("never.zeb"), std::string::npos) << "nothing is written";
}

TEST_F(ZebranoTool, AssegnaWritesTheTracksAndExitsByWhatRemains) {
    auto assegna = [&](std::optional<std::string> which, std::optional<std::string> tracks,
                       std::optional<std::string> rules = {}) {
        return run([&](auto& o, auto& e) {
            return assegnaCommand({.scenario = path("conflicts.zeb"),
                                   .output = path("new.zeb"),
                                   .which = which,
                                   .tracks = tracks,
                                   .rules = rules,
                                   .buffer = {},
                                   .timeLimit = "0"},
                                  {}, o, e);
        });
    };
    const std::string quality = "intervalli di meno di 8 minuti (separazione 3 + margine 5): 0; ";
    EXPECT_EQ(assegna("conflitti", {}), "0|2233 07:44: 1 → 2\nconflitti: prima 1, dopo 0; " +
                                            quality + "servono almeno 2 binari\n|");
    EXPECT_EQ(verifica("new.zeb"), "0|0 errori, 0 avvisi\n|");
    EXPECT_EQ(assegna("tutti", "1"),
              "1|2235 06:10: 2 → 1\nsenza binario libero: 2233 (1 binario in più lo "
              "collocherebbe)\nconflitti: prima 1, dopo 1; " +
                  quality + "servono almeno 2 binari\n|");
    EXPECT_EQ(assegna({}, "9"),
              "2||zebrano-tool assegna: il binario «9» non è tra quelli della stazione\n");
    EXPECT_EQ(assegna("alcuni", {}),
              "2||zebrano-tool assegna: --treni vuole senza-binario, conflitti, fuori-regola o "
              "tutti\n");
    // With rules: what the rule lacks is said, its trains rather on another track than in
    // conflict; the rules go beside the output, where verifica finds the train outside them.
    test::writeBytes(path("rules.csv"),
                     "categoria;provenienza;destinazione;tipo;dalle;alle;preferiti;ammessi\n"
                     ";;;;;;1;\n");
    const std::string ruled = assegna("tutti", {}, path("rules.csv"));
    EXPECT_EQ(ruled.substr(0, 2), "0|");
    EXPECT_NE(ruled.find("la regola 1 ha bisogno di 1 binario in più dalle"), std::string::npos)
        << ruled;
    EXPECT_NE(ruled.find("conflitti: prima 1, dopo 0; fuori regola: 1; sul binario preferito: 2 "
                         "di 3; "),
              std::string::npos)
        << ruled;
    EXPECT_NE(verifica("new.zeb").find("che la regola 1 non ammette\n0 errori, 1 avviso"),
              std::string::npos);
    test::writeBytes(path("bad.csv"), "categoria\n");
    EXPECT_EQ(assegna("tutti", {}, path("bad.csv")).substr(0, 3), "2||");
}

// The links the rule finds are listed, or written beside a new scenario, where verifica reads
// them: the close turnaround is no conflict any more, the train passing the standing unit is.
TEST_F(ZebranoTool, CollegaFindsTheTurnaroundsAndVerificaHonoursThem) {
    Scenario day = test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                                      {"2002", "", "", "Nordia", "10:40", "1"},
                                      {"3001", "Ovest", "10:18", "Est", "10:20", "1"},
                                      {"2003", "Sudia", "10:05", "", "", "2"}});
    day.nome_stazione = "Capolinea";
    for (int i = 0; i < day.totale_treni; ++i)
        day.treni[i].ritardo = "0";
    saveScenarioPair(day, path("day.zeb"), {});
    auto collega = [&](std::optional<std::string> output, std::optional<std::string> wait) {
        return run([&](auto& o, auto& e) {
            return collegaCommand({path("day.zeb"), output, wait}, {}, o, e);
        });
    };
    const std::string found = "2001 → 2002, binario 1, 10:00 → 10:40\n1 collegamento nuovo; "
                              "senza collegamento 1 treno che termina qui e 0 che partono da "
                              "qui\n";
    EXPECT_EQ(collega({}, {}), "0|" + found + "|");
    EXPECT_EQ(verifica("day.zeb"), "0|0 errori, 0 avvisi\n|");
    EXPECT_EQ(collega(path("linked.zeb"), {}), "0|" + found + "|");
    EXPECT_EQ(test::readBytes(path("linked.zeb")), test::readBytes(path("day.zeb")));
    EXPECT_EQ(verifica("linked.zeb"),
              "1|errore: Treni 1 (2001→2002) e 3 (3001), binario 1: occupato insieme dalle 10:18 "
              "alle 10:20\n1 errore, 0 avvisi\n|");
    EXPECT_EQ(run([&](auto& o, auto& e) {
                  return collegaCommand({path("linked.zeb"), {}, {}}, {}, o, e);
              }).substr(0, 28),
              "1|Nessun collegamento nuovo;")
        << "linked already";
    EXPECT_EQ(collega({}, "30").substr(0, 28), "1|Nessun collegamento nuovo;");
    EXPECT_EQ(collega({}, "-1"),
              "2||zebrano-tool collega: --attesa-max vuole i minuti, da 0 a 1440\n");
}

#if !defined(_WIN32) // processes forked and killed
// "collega -o" killed at any moment of its work leaves the old pair, the new one, or a pair that
// says it is split. Two days by turns, so that the pairs of two runs differ.
TEST_F(ZebranoTool, AKilledCommandNeverSplitsItsOutputSilently) {
    for (const char* day : {"a.zeb", "b.zeb"}) {
        Scenario s = test::stationWith(
            {{"2001", "Nordia", "10:00", "", "", "1"}, {"2002", "", "", "Nordia", "10:40", "1"}});
        s.nome_stazione = day;
        s.treni[0].ritardo = s.treni[1].ritardo = "0";
        saveScenarioPair(s, path(day), {});
    }
    std::ostringstream ignored;
    collegaCommand({path("a.zeb"), path("out.zeb"), {}}, {}, ignored, ignored);
    const int broken = test::killWhileWriting(
        1000,
        [&](long round) {
            std::ostringstream quiet;
            collegaCommand({path(round % 2 == 0 ? "a.zeb" : "b.zeb"), path("out.zeb"), {}}, {},
                           quiet, quiet);
        },
        [&] {
            return test::pairHolds(path("out.zeb"), [](const std::string&, const EditorData& data) {
                return data.links.size() == 1;
            });
        });
    EXPECT_EQ(broken, 0);
}
#endif

#if defined(ZEB_WITH_GTFS)
// The trips one vehicle runs (block_id) that end and start here become a unit: linked beside
// the new scenario, and given one track where tracks are chosen.
TEST_F(ZebranoTool, GtfsLinksTheTripsOfABlock) {
    test::FeedFiles feed = test::valleFeed();
    // 2235 of the day before ends here at 00:10 and 2237 of the day leaves at 06:00, both of B2:
    // two service days of one vehicle, no unit.
    feed["trips.txt"] = "route_id,service_id,trip_id,trip_short_name,block_id\n"
                        "RE,FER,t1,2231,\nRE,FER,t2,2233,B1\nRE,FER,t3,2235,B2\n"
                        "RE,FER,t4,2232,B1\nRE,FER,t5,2237,B2\nBUS,FES,b1,,\n";
    test::edit(feed, "stop_times.txt", "t2,,9:05:00,VAL2", "t2,,9:05:00,VALX");
    test::edit(feed, "stop_times.txt", "b1,12:00",
               "t4,8:00:00,8:00:00,SUD,1,0,0\nt4,8:40:00,8:40:00,VALX,2,0,0\n"
               "t5,,6:00:00,VALX,1,0,0\nt5,6:30:00,6:30:00,SUD,2,0,0\nb1,12:00");
    std::filesystem::create_directory(path("feed"));
    for (const auto& [name, text] : feed)
        test::writeBytes(path("feed") + "/" + name, text);
    test::writeBytes(path("base.zeb"), test::exampleFileBytes());
    auto gtfs = [&](bool noLinks) {
        return run([&](auto& o, auto& e) {
            return gtfsCommand({.feed = path("feed"),
                                .date = "2024-03-06",
                                .station = "VAL",
                                .base = path("base.zeb"),
                                .output = path("new.zeb"),
                                .assign = true,
                                .noLinks = noLinks},
                               date::sys_days(date::year{2024} / 3 / 6), o, e);
        });
    };
    EXPECT_NE(gtfs(false).find("\n1 rotazione collegata (block_id)\n"), std::string::npos);
    auto opened = openDocument(path("new.zeb"), std::cerr);
    const Scenario& s = opened->scenario();
    const TrainLinks links = opened->links();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(unitLabel(s, links[0]), "2232→2233");
    EXPECT_FALSE(s.treni[links[0].arriving].binario.empty());
    EXPECT_EQ(s.treni[links[0].arriving].binario, s.treni[links[0].leaving].binario);
    EXPECT_EQ(gtfs(true).find("rotazion"), std::string::npos);
    EXPECT_TRUE(openDocument(path("new.zeb"), std::cerr)->links().empty());
}

TEST_F(ZebranoTool, GtfsListsStationsAndImportsOneDayWithItsExitStatus) {
    std::filesystem::create_directory(path("feed"));
    for (const auto& [name, text] : test::valleFeed())
        test::writeBytes(path("feed") + "/" + name, text);
    test::writeBytes(path("base.zeb"), test::exampleFileBytes());
    auto gtfs = [&](GtfsToolRequest request) {
        request.feed = path("feed");
        return run([&](auto& o, auto& e) {
            return gtfsCommand(request, date::sys_days(date::year{2024} / 3 / 6), o, e);
        });
    };
    const auto base = std::optional(path("base.zeb"));
    const auto output = std::optional(path("new.zeb"));
    EXPECT_EQ(gtfs({.listStations = true}),
              "0|SUD;Sudia;3\nVAL;Valmora;3\nNORD;Nordia;1\nPIE;Pieve;1\nROC;Rocca;1\n|Treni di "
              "mercoledì 2024-03-06, le stazioni senza treni lasciate fuori\n");
    // 2235 comes without a track: said, or given one where asked.
    EXPECT_EQ(gtfs({.date = "2024-03-06", .station = "valmora", .base = base, .output = output}),
              "0|3 treni importati da Valmora il 2024-03-06, 5 treni in " + *output +
                  "\n1 treno senza binario: --assegna ne sceglie i binari\n|");
    // The same day again onto what it wrote: said, or settled as asked; a planner's categories.
    test::writeBytes(path("categorie.csv"), "tipo;categoria\nre;Regionale\n");
    auto again = [&](std::optional<std::string> how) {
        return gtfs({.date = "2024-03-06",
                     .station = "VAL",
                     .base = output,
                     .output = path("again.zeb"),
                     .categories = path("categorie.csv"),
                     .present = how});
    };
    const std::string twice = "3 treni di Valmora il 2024-03-06 sono già nello scenario (stesso "
                              "numero, provenienza e orari): --gia-presenti nuovi, sostituisci o "
                              "tutti dice che farne; nulla è stato scritto\n";
    EXPECT_EQ(again({}), "1||" + twice);
    EXPECT_EQ(again("nuovi"), "0|0 treni importati da Valmora il 2024-03-06, 5 treni in " +
                                  path("again.zeb") + "\n3 treni già presenti lasciati fuori\n|");
    EXPECT_EQ(again("sostituisci"), "0|0 treni importati da Valmora il 2024-03-06, 5 treni in " +
                                        path("again.zeb") + "\n3 treni già presenti sostituiti\n|");
    EXPECT_NE(run([&](auto& o, auto& e) {
                  return esportaCommand(path("again.zeb"), {}, o, e);
              }).find("\n2231;Regionale;"),
              std::string::npos);
    EXPECT_EQ(again("tutti").substr(0, 48), "0|3 treni importati da Valmora il 2024-03-06, 8 ");
    // Route types in place of rail alone: the bus of Saturday without the train.
    gtfs({.date = "2024-03-09", .station = "VAL", .types = "3", .base = base, .output = output});
    const std::string buses =
        run([&](auto& o, auto& e) { return esportaCommand(*output, {}, o, e); });
    EXPECT_TRUE(buses.find("\nb1;Autobus") != std::string::npos &&
                buses.find("\n2235;") == std::string::npos)
        << buses;
    const std::string assigned = gtfs({.date = "2024-03-06",
                                       .station = "valmora",
                                       .base = base,
                                       .output = output,
                                       .assign = true});
    EXPECT_NE(assigned.find("\n1 binario assegnato\nconflitti: prima "), std::string::npos)
        << assigned;
    const std::string csv =
        run([&](auto& o, auto& e) { return esportaCommand(*output, {}, o, e); });
    EXPECT_NE(csv.find("2231;Interregionale;Nordia;Sudia;07:55;07:57;1;0;Pieve,Rocca;Nessuna;"),
              std::string::npos);

    const std::vector<std::pair<GtfsToolRequest, std::string>> refused = {
        {{.listStations = true, .date = "2025-01-07"},
         "1||Nessun treno il 2025-01-07: il feed vale dal 2024-01-01 al 2024-12-31\n"},
        {{.date = "2024-03-10", .station = "VAL", .base = base, .output = path("never.zeb")},
         "1||Nessun treno ferma a Valmora il 2024-03-10; nulla è stato scritto\n"},
        {{.date = "2024-03-06", .station = "i", .base = base, .output = path("never.zeb")},
         "2||zebrano-tool gtfs: «i» indica 3 stazioni, sceglierne una:\n  NORD;Nordia\n"
         "  PIE;Pieve\n  SUD;Sudia\n"},
        {{.date = "6/3/2024", .station = "VAL", .base = base, .output = path("never.zeb")},
         "2||zebrano-tool gtfs: la data «6/3/2024» non è nella forma AAAA-MM-GG\n"},
        {{.date = "2024-03-06",
          .station = "VAL",
          .from = "7",
          .base = base,
          .output = path("never.zeb")},
         "2||zebrano-tool gtfs: l'orario «7» non è nella forma HH:MM\n"},
        {{.date = "2024-03-06",
          .station = "VAL",
          .base = base,
          .output = path("never.zeb"),
          .present = "forse"},
         "2||zebrano-tool gtfs: --gia-presenti vuole nuovi, sostituisci o tutti, non «forse»\n"},
        {{.date = "2024-03-06",
          .station = "VAL",
          .base = base,
          .output = path("never.zeb"),
          .categories = path("feed/stops.txt")},
         "2||zebrano-tool gtfs: " + path("feed/stops.txt") +
             ", riga 1: servono due valori, tipo;categoria, non «stop_id,stop_name,location_type,"
             "parent_s…»\n"},
        {{.date = "2024-03-06", .station = "VAL"},
         "2||zebrano-tool gtfs: servono --stazioni, oppure --stazione, --data, --scenario e -o\n"},
        {{.date = "2024-03-06",
          .station = "VAL",
          .types = "0,x",
          .base = base,
          .output = path("never.zeb")},
         "2||zebrano-tool gtfs: --tipi vuole tipi di linea GTFS separati da virgole, come «0,2», "
         "non «0,x»\n"},
    };
    for (const auto& [request, expected] : refused)
        EXPECT_EQ(gtfs(request), expected);
    EXPECT_EQ(folder.listing().find("never.zeb"), std::string::npos) << "nothing is written";
}
#endif

// The notice of a variant whose day of service is known is dated by it, unless --data says
// another; a day that is none is refused before anything is read.
TEST_F(ZebranoTool, ConfrontaDatesTheNoticeByTheVariantsDay) {
    Scenario variant = test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"}});
    variant.treni[0].ritardo = "0";
    EditorData data;
    data.serviceDay = "2024-03-06";
    saveScenarioPair(variant, path("variante.zeb"), data);
    std::string dated = "none";
    const NoticeWriter writer = [&](const std::string&, const Scenario&, const Scenario&,
                                    const std::vector<TrainDifference>&, const std::string& day) {
        dated = day;
        return std::string();
    };
    const struct {
        std::optional<std::string> day;
        std::string dated;
        int status;
    } cases[] = {{std::nullopt, noticeDayLine(date::sys_days(date::year{2024} / 3 / 6)), 1},
                 {"2025-01-31", noticeDayLine(date::sys_days(date::year{2025} / 1 / 31)), 1},
                 {"2025-02-31", "none", 2}};
    for (const auto& c : cases) {
        dated = "none";
        std::ostringstream out, err;
        const CompareRequest request{
            path("good.zeb"), path("variante.zeb"), {}, path("avviso.pdf"), c.day};
        EXPECT_EQ(confrontaCommand(request, writer, out, err), c.status) << err.str();
        EXPECT_EQ(dated, c.dated);
    }
}

} // namespace
} // namespace zeb
