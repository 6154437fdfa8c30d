#include "scenario_file/scenario_writer.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using test::crlfLines;

// The 14 lines of the one train block of a one-train scenario.
std::vector<std::string> blockOf(Scenario& s) {
    const std::string bytes = scenarioFileBytes(s);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "every line ends in CR LF";
    return std::vector<std::string>(lines.begin() + 4, lines.end());
}

Scenario oneTrain(const Treno& t) {
    Scenario s = test::stationValmora();
    s.treni[0] = t;
    s.totale_treni = 1;
    return s;
}

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

TEST(ScenarioWriter, ATrainWithNeitherEndIsTypeZeroWithDashes) {
    Treno t = plainTrain();
    t.provenienza = t.destinazione = "";
    t.ora_partenza = t.min_partenza = "--";
    Scenario s = oneTrain(t);
    const auto block = blockOf(s);
    EXPECT_EQ(block[2], "Tipologia di treno = 0");
    EXPECT_EQ(block[4], "Destinazione = -");
    EXPECT_EQ(block[5], "Provenienza = -");
    EXPECT_EQ(block[7], "Arrivo = -");
    EXPECT_EQ(block[8], "Partenza = -");
}

TEST(ScenarioWriter, OnlyTheEndsHereTextWithTerminatorBecomesADash) {
    Treno t = plainTrain();
    t.fermate = "Il treno termina nella stazione simulata";
    Scenario s = oneTrain(t);
    EXPECT_EQ(blockOf(s)[11], "Fermate Successive = Il treno termina nella stazione simulata");
    s.treni[0].fermate = "Il treno termina nella stazione simulata,.";
    EXPECT_EQ(blockOf(s)[11], "Fermate Successive = -");
}

TEST(ScenarioWriter, LineBreaksInsideValuesBecomeBlanks) {
    Treno t = plainTrain();
    t.note = "prima\r\nseconda\nterza\rquarta\n\n";
    t.fermate = "A,\nB,.";
    Scenario s = oneTrain(t);
    s.nome_stazione = "Val\nmora";
    const auto block = blockOf(s);
    ASSERT_EQ(block.size(), 14u);
    EXPECT_EQ(block[13], "Note al treno = prima seconda terza quarta  ");
    EXPECT_EQ(block[11], "Fermate Successive = A, B,.");
    EXPECT_EQ(scenarioFileBytes(s).substr(0, 22), "Stazione di = Val mora");
}

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
