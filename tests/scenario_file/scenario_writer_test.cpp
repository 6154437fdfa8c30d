#include "scenario_file/scenario_writer.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

Treno plainTrain() {
    Treno t;
    t.numero = "1";
    t.categoria = "Diretto";
    t.ritardo = "0";
    t.codice_sussidiaria = "0";
    t.provenienza = "Aa";
    t.destinazione = "Bb";
    return t;
}

TEST(ScenarioWriter, WritesTheReferenceExampleByteForByte) {
    Scenario s = test::exampleScenario();
    EXPECT_EQ(scenarioFileBytes(s), test::exampleFileBytes());
}

// Each row: a change to a plain train, and whole lines its block must hold.
struct Written {
    const char* name;
    void (*change)(Treno&);
    std::vector<std::string> lines;
};

void PrintTo(const Written& row, std::ostream* out) {
    *out << row.name;
}

class ScenarioWriterWrites : public ::testing::TestWithParam<Written> {};

TEST_P(ScenarioWriterWrites, TheLinesOfTheBlock) {
    Scenario s = test::stationValmora();
    s.treni[0] = plainTrain();
    GetParam().change(s.treni[0]);
    s.totale_treni = 1;
    const std::string bytes = scenarioFileBytes(s);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 18);
    for (const std::string& line : GetParam().lines)
        EXPECT_NE(bytes.find("\r\n" + line + "\r\n"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScenarioWriterWrites,
    ::testing::Values(
        Written{"NeitherEndIsTypeZeroWithDashes",
                [](Treno& t) {
                    t.provenienza = t.destinazione = "";
                    t.ora_partenza = t.min_partenza = "--";
                },
                {"Tipologia di treno = 0", "Destinazione = -", "Provenienza = -", "Arrivo = -",
                 "Partenza = -"}},
        Written{"EndsHereWithoutTheTerminatorStays",
                [](Treno& t) { t.fermate = "Il treno termina nella stazione simulata"; },
                {"Fermate Successive = Il treno termina nella stazione simulata"}},
        Written{"EndsHereWithTheTerminatorIsADash",
                [](Treno& t) { t.fermate = "Il treno termina nella stazione simulata,."; },
                {"Fermate Successive = -"}},
        Written{"LineBreaksBecomeBlanks",
                [](Treno& t) {
                    t.note = "prima\r\nseconda\nterza\rquarta\n\n";
                    t.fermate = "A,\nB,.";
                },
                {"Note al treno = prima seconda terza quarta  ", "Fermate Successive = A, B,."}}),
    [](const auto& info) { return std::string(info.param.name); });

// Each row: what is wrong with the second train, the error number, words of its description.
struct Unsaveable {
    const char* name;
    void (*spoil)(Treno&);
    FormatError number;
    const char* description;
};

void PrintTo(const Unsaveable& row, std::ostream* out) {
    *out << row.name;
}

class ScenarioWriterRefuses : public ::testing::TestWithParam<Unsaveable> {};

TEST_P(ScenarioWriterRefuses, NamingTheTrainAndTheField) {
    Scenario s = test::exampleScenario();
    GetParam().spoil(s.treni[1]);
    try {
        scenarioFileBytes(s);
        FAIL() << "no error";
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.number(), static_cast<int>(GetParam().number));
        EXPECT_EQ(e.description().rfind("Il treno 2 (numero \"88\"): il campo", 0), 0u)
            << e.description();
        EXPECT_NE(e.description().find(GetParam().description), std::string::npos)
            << e.description();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScenarioWriterRefuses,
    ::testing::Values(Unsaveable{"Polish", [](Treno& t) { t.note = "Łódź"; },
                                 FormatError::CarattereNonSalvabile,
                                 "\"Note al treno\" contiene un carattere"},
                      Unsaveable{"StrayByte",
                                 [](Treno& t) { t.provenienza = "Pavia \x85 Voghera"; },
                                 FormatError::CarattereNonSalvabile, "\"Provenienza\""},
                      Unsaveable{"Category", [](Treno& t) { t.categoria = "autobus"; },
                                 FormatError::ValoreFuoriElenco, "\"Categoria\" vale \"autobus\""},
                      Unsaveable{"Delay", [](Treno& t) { t.ritardo = "5"; },
                                 FormatError::ValoreFuoriElenco, "\"Indice Ritardo\""},
                      Unsaveable{"Code", [](Treno& t) { t.codice_sussidiaria = ""; },
                                 FormatError::ValoreFuoriElenco, "\"Indicazioni Sussidiarie\""},
                      Unsaveable{"LongNote", [](Treno& t) { t.note = std::string(70000, 'x'); },
                                 FormatError::RigaTroppoLunga, "\"Note al treno\" è più lungo"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zeb
