#include "scenario_file/scenario_writer.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// A train from Aa to Bb, every value the reader checks within its list.
Treno plainTrain() {
    Treno t;
    t.numero = "1";
    t.categoria = "Diretto";
    t.ritardo = t.codice_sussidiaria = "0";
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
        Written{"EndsHereWithAnotherEndingStays",
                [](Treno& t) { t.fermate = "Il treno termina nella stazione simulata.,"; },
                {"Fermate Successive = Il treno termina nella stazione simulata.,"}},
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
                                 FormatError::UnsavableCharacter,
                                 "\"Note al treno\" contiene un carattere"},
                      Unsaveable{"StrayByte",
                                 [](Treno& t) { t.provenienza = "Pavia \x85 Voghera"; },
                                 FormatError::UnsavableCharacter, "\"Provenienza\""},
                      Unsaveable{"Category", [](Treno& t) { t.categoria = "autobus"; },
                                 FormatError::ValueNotInList, "\"Categoria\" vale \"autobus\""},
                      Unsaveable{"Delay", [](Treno& t) { t.ritardo = "5"; },
                                 FormatError::ValueNotInList, "\"Indice Ritardo\""},
                      Unsaveable{"Code", [](Treno& t) { t.codice_sussidiaria = ""; },
                                 FormatError::ValueNotInList, "\"Indicazioni Sussidiarie\""},
                      Unsaveable{"LongNote", [](Treno& t) { t.note = std::string(70000, 'x'); },
                                 FormatError::LineTooLong, "\"Note al treno\" è più lungo"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files that load must save, and a save of the reloaded scenario must give the same bytes.
struct LoadableFile {
    const char* name;
    std::string bytes;
};

void PrintTo(const LoadableFile& row, std::ostream* out) {
    *out << row.name;
}

class SavedTwice : public ::testing::TestWithParam<LoadableFile> {};

TEST_P(SavedTwice, GivesTheSameBytes) {
    Scenario loaded = test::loadBytes(GetParam().bytes);
    const std::string first = scenarioFileBytes(loaded);
    Scenario reloaded = test::loadBytes(first);
    EXPECT_EQ(scenarioFileBytes(reloaded), first);
}

std::string withNoteLine(const std::string& line) {
    std::string bytes = test::exampleFileBytes();
    return bytes.replace(bytes.rfind("Note al treno = "), 16, line + "\r\nX = ");
}

INSTANTIATE_TEST_SUITE_P(
    Table, SavedTwice,
    ::testing::Values(
        LoadableFile{
            "StopsEndingHereAcrossALineBreak",
            test::crlfLines({"S = A", "O = 1.2", "N = 1", "N = 1,.", "Prossimo treno:", "T = 2",
                             "N = 9", "D = B", "P = C", "C = Diretto", "A = 1.2", "P = 3.4",
                             "B = 1", "R = 0", "F = Il treno termina nella\rstazione simulata,.",
                             "I = 0", "N = "})},
        LoadableFile{"ALongStartMinute", "Stazione di = A\r\nOra inizio simulazione = 1." +
                                             std::string(65509, '7') + "\r\nN = 0\r\nN = .\r\n"},
        LoadableFile{"ALongNoteAfterAShortKeyword",
                     withNoteLine("N = " + std::string(65532, 'n'))}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zeb
