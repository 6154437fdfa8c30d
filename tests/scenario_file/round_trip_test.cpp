#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

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
