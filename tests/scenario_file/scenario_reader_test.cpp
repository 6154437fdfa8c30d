#include "scenario_file/scenario_reader.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace zeb {
namespace {

using test::crlfLines;
using test::loadBytes;

const std::string kHeader =
    crlfLines({"Stazione di = Valmora", "Ora inizio simulazione = 06.30.00",
               "Numero binari stazione = 3", "Numeri binari stazione = 1,2,1tronco,."});

// The Regionale's block of the example; its lines are numbered from 5 (after the header).
std::vector<std::string> passingBlock() {
    const auto lines = test::exampleFileLines();
    return {lines.begin() + 4, lines.begin() + 18};
}

TEST(ScenarioReader, ReadsTheReferenceExample) {
    Scenario s = loadBytes(test::exampleFileBytes());
    EXPECT_EQ(test::summary(s),
              "Valmora|06.30|1,2,1tronco|3\n"
              "2|231|Borgo Alto|Campolungo|Regionale/13|06.42|06.44|2|1|Pieve,Rocca,.|0/Nessuna|\n"
              "1|88||Borgo Alto|Autobus/0|07.05|.|99|0|-|10/Autobus (Piazzale Esterno)|");
    EXPECT_TRUE(s.binari_scelti[0] && s.binari_scelti[1] && s.binari_scelti[23]);
    // No train shown, so no track position derived yet.
    EXPECT_EQ(std::to_string(s.treno_attuale) + "|" + s.treni[0].indice_binario, "0|");
}

std::string withBlockLines(std::initializer_list<std::pair<int, std::string>> changes) {
    auto block = passingBlock();
    for (const auto& [index, line] : changes)
        block[index] = line;
    return kHeader + crlfLines(block);
}

// A file that loads, and the summary of its one train (or of its station).
struct GoodFile {
    const char* name;
    std::string bytes;
    std::string expected;
};

void PrintTo(const GoodFile& row, std::ostream* out) {
    *out << row.name;
}

class ScenarioReaderReads : public ::testing::TestWithParam<GoodFile> {};

// The record is read over one that held an arrival "old": fields a record does not set keep
// their value.
TEST_P(ScenarioReaderReads, TheFileAsWritten) {
    Scenario base;
    base.treni[0].ora_arrivo = "old";
    EXPECT_EQ(test::summary(loadBytes(GetParam().bytes, base)), GetParam().expected);
}

const std::string kValmora = "Valmora|06.30|1,2,1tronco|3\n";
const std::string kRegionale = "|231|Borgo Alto|Campolungo|Regionale/13|";
const std::string kRegionaleEnd = "|2|1|Pieve,Rocca,.|0/Nessuna|";

std::string commentsAndStrayLines() {
    auto block = passingBlock();
    block.insert(block.begin() + 4, "# a comment between value lines");
    block.insert(block.begin() + 1, "#comment before the separator");
    return crlfLines({"# comment", "", "Stazione di = Valmora", "x",
                      "Ora inizio simulazione = 06.30.00", "# another",
                      "Numero binari stazione = 3", "Numeri binari stazione = 1,2,1tronco,."}) +
           crlfLines(block) + crlfLines({"Prossimo treno: ", "prossimo treno:", "", ""});
}

std::string commentInPlaceOfAnAbsentTime() {
    auto block = passingBlock();
    block[2] = "Tipologia di treno = 1";
    block[8] = "# this comment takes the departure's place";
    block[11] = "Fermate Successive = 3";
    block.insert(block.begin() + 9, "Partenza = -");
    return kHeader + crlfLines(block);
}

std::string loneLineFeeds() {
    std::string file = "Stazione di = A\nOra inizio simulazione = 1.2.00\nNumero binari stazione = "
                       "1\nNumeri binari stazione = 7,.\n";
    for (int i = 0; i < 2; ++i)
        for (const auto& line : passingBlock())
            file += line + "\n";
    file.pop_back();
    return file;
}

std::string tracks(const std::string& count, const std::string& names) {
    return crlfLines({"S = A", "O = 1.1", "N = " + count, "N = " + names});
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScenarioReaderReads,
    ::testing::Values(
        GoodFile{"EmptyFile", "", "|.||0"},
        GoodFile{"LoneLineFeedsAndNoFinalLineEnd", loneLineFeeds(),
                 "A|1.2|7|1\n2" + kRegionale + "06.42|06.44" + kRegionaleEnd + "\n2" + kRegionale +
                     "06.42|06.44" + kRegionaleEnd},
        GoodFile{"AllTextAfterTheFirstEqualsBlank",
                 withBlockLines({{3, "Numero Treno =231 = 7"}, {13, "Note al treno = a = b"}}),
                 kValmora + "2|7|Borgo Alto|Campolungo|Regionale/13|06.42|06.44" + kRegionaleEnd +
                     "a = b"},
        GoodFile{"DashDepartureOfATrainStartingHere",
                 withBlockLines({{2, "Tipologia di treno = 0"}, {8, "Partenza = -"}}),
                 kValmora + "0|231|Borgo Alto||Regionale/13|.|." + kRegionaleEnd},
        GoodFile{"DashDestinationBesideADashDeparture",
                 withBlockLines(
                     {{2, "Tipologia di treno = 0"}, {4, "Destinazione = -"}, {8, "Partenza = -"}}),
                 kValmora + "0|231|||Regionale/13|.|." + kRegionaleEnd},
        GoodFile{"ADestinationNamedDash",
                 withBlockLines({{2, "Tipologia di treno = 0"}, {4, "Destinazione = -"}}),
                 kValmora + "0|231|-||Regionale/13|.|06.44" + kRegionaleEnd},
        GoodFile{"CommentsAndStrayLines", commentsAndStrayLines(),
                 kValmora + "2" + kRegionale + "06.42|06.44" + kRegionaleEnd},
        // Exactly one line is skipped there, so every later value lands one field early.
        GoodFile{"ACommentInPlaceOfAnAbsentTime", commentInPlaceOfAnAbsentTime(),
                 kValmora +
                     "1|231||Campolungo|Regionale/13|06.42|.|-|2|1|3/Prenotazione Facoltativa|0"},
        GoodFile{"AnUnknownTypeSetsNoTimeAndClearsNothing",
                 withBlockLines({{2, "Tipologia di treno = 7"}}),
                 kValmora + "7" + kRegionale + "old.|.|2|1|Pieve,Rocca,.|0/Nessuna|"},
        GoodFile{"TwentySixTrackNamesOfWhichThreeNoSlot",
                 tracks("26", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,"
                              "26,."),
                 "A|1.1|1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26|23"},
        GoodFile{"ACountLargerThanTheNames", tracks("9", "3,1tronco,."), "A|1.1|3,1tronco|2"}),
    [](const auto& info) { return std::string(info.param.name); });

// A broken file, the error number, and the start of the description (with its line).
struct BrokenFile {
    const char* name;
    std::string bytes;
    FormatError number;
    std::string description;
};

std::string withBlockLine(int index, const std::string& line) {
    return withBlockLines({{index, line}});
}

std::string cutBlock(int lines) {
    auto block = passingBlock();
    block.resize(lines);
    return kHeader + crlfLines(block);
}

std::string tooManyTrains() {
    std::string file = kHeader;
    const std::string block = crlfLines(passingBlock());
    for (int i = 0; i <= kMaxTrains; ++i)
        file += block;
    return file;
}

void PrintTo(const BrokenFile& row, std::ostream* out) {
    *out << row.name;
}

class ScenarioReaderStops : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(ScenarioReaderStops, AtTheFirstErrorWithItsLine) {
    try {
        loadBytes(GetParam().bytes);
        FAIL() << "no error";
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.number(), static_cast<int>(GetParam().number));
        EXPECT_EQ(e.description().rfind(GetParam().description, 0), 0u) << e.description();
        EXPECT_EQ(std::string(e.what()), std::to_string(e.number()) + " " + e.description());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScenarioReaderStops,
    ::testing::Values(
        BrokenFile{"EndInHeader", crlfLines({"Stazione di = A", "Ora inizio simulazione = 1.1.00"}),
                   FormatError::UnexpectedEnd,
                   "Riga 3: il file finisce, ma era attesa la riga \"Numero binari stazione = \""},
        BrokenFile{"EndInRecord", cutBlock(9), FormatError::UnexpectedEnd,
                   "Riga 14: il file finisce, ma era attesa il binario"},
        BrokenFile{"EndAtSkippedLine",
                   kHeader + crlfLines({"", "Prossimo treno:", "Tipologia di treno = 9", "N = 1",
                                        "D = -", "P = -", "Categoria = Diretto"}),
                   FormatError::UnexpectedEnd, "Riga 12: il file finisce"},
        BrokenFile{"NoValueInRecord", withBlockLine(10, "Indice Ritardo 1"),
                   FormatError::MissingValue, "Riga 15: manca \"= \""},
        BrokenFile{"TimeWithoutDot", withBlockLine(7, "Arrivo = 0642"), FormatError::InvalidTime,
                   "Riga 12: l'orario \"0642\""},
        BrokenFile{"TrackLineWithoutDot", crlfLines({"S = A", "O = 1.1", "N = 2", "N = 1,2,"}),
                   FormatError::TracksWithoutEnd, "Riga 4: l'elenco dei binari"},
        BrokenFile{"TwentySevenTracks",
                   crlfLines({"S = A", "O = 1.1", "N = 1",
                              "N = 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,"
                              "1tronco,2tronco,3tronco,1,."}),
                   FormatError::TooManyTracks, "Riga 4: l'elenco nomina più di 26 binari"},
        BrokenFile{"TrackCountNotANumber", crlfLines({"S = A", "O = 1.1", "N = tre"}),
                   FormatError::InvalidTrackCount, "Riga 3: il numero dei binari \"tre\""},
        BrokenFile{"Train2002", tooManyTrains(), FormatError::TooManyTrains,
                   "Riga " + std::to_string(4 + 14 * kMaxTrains + 2) +
                       ": il file contiene più di 2001 treni"},
        BrokenFile{"UnknownCategory", withBlockLine(6, "Categoria = regionale"),
                   FormatError::ValueNotInList, "Riga 11: la categoria \"regionale\""},
        BrokenFile{"DelayOutOfList", withBlockLine(10, "Indice Ritardo = 5"),
                   FormatError::ValueNotInList, "Riga 15: l'indice di ritardo \"5\""},
        BrokenFile{"CodeOutOfList", withBlockLine(12, "Indicazioni Sussidiarie = 11"),
                   FormatError::ValueNotInList, "Riga 17: l'indicazione sussidiaria \"11\""},
        BrokenFile{"LongCategoryQuotedShort",
                   withBlockLine(6, "Categoria = " + std::string(60000, 'x')),
                   FormatError::ValueNotInList,
                   "Riga 11: la categoria \"" + std::string(40, 'x') + "…\" non è tra i valori"},
        BrokenFile{"ATextPastItsLimit",
                   withBlockLine(13, "Note al treno = " + std::string(65537, 'n')),
                   FormatError::LineTooLong, "Riga 18: il campo \"Note al treno\" è più lungo"},
        BrokenFile{"AbsurdLine", kHeader + std::string(140000, 'x'), FormatError::LineTooLong,
                   "Riga 5: la riga è più lunga"}),
    [](const auto& info) { return std::string(info.param.name); });

// The message of loading the file at `path`, or empty.
std::string loadError(const std::string& path) {
    Scenario s;
    s.nome_file_carica = path;
    try {
        Funzione_Carica(s);
        return "";
    } catch (const ScenarioFileError& e) {
        return e.message();
    }
}

TEST(ScenarioReader, RefusesWhatIsNoScenarioFileWithoutReadingIt) {
    test::TempFolder folder;
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo(folder.file("pipe.zeb").c_str(), 0600), 0); // with no writer: never blocks
#endif
    std::FILE* huge = std::fopen(folder.file("huge.zeb").c_str(), "wb"); // an ASCII name
    ASSERT_NE(huge, nullptr);
    std::fseek(huge, 100 * 1024 * 1024, SEEK_SET); // sparse: costs no disk
    std::fputc('x', huge);
    std::fclose(huge);
    for (const auto& [path, message] : std::initializer_list<std::pair<std::string, std::string>> {
             {folder.file("missing.zeb"), std::to_string(ENOENT) + " Il file non esiste"},
                 {folder.file("no/missing.zeb"),
                  std::to_string(ENOENT) + " La cartella \"" + folder.file("no") + "\" non esiste"},
                 {folder.path(), std::to_string(EISDIR) + " È una cartella, non un file"},
#if !defined(_WIN32)
                 {folder.file("pipe.zeb"), "1012 Non è un file ordinario"}, {"/dev/zero", "1012 "},
#endif
             {
                 folder.file("huge.zeb"), "1010 Il file è più grande"
             }
         })
        EXPECT_EQ(loadError(path).rfind(message, 0), 0u) << path << ": " << loadError(path);
}

} // namespace
} // namespace zeb
