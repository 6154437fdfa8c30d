#include "scenario_file/scenario_reader.h"

#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

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

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

TEST(ScenarioReader, ReadsTheReferenceExample) {
    Scenario s = loadBytes(test::exampleFileBytes());
    EXPECT_EQ(s.nome_stazione, "Valmora");
    EXPECT_EQ(s.ora_inizio, "06");
    EXPECT_EQ(s.min_inizio, "30");
    ASSERT_EQ(s.numero_binari, 3);
    EXPECT_EQ(s.tabella_binari[2], (VoceBinario{"1tronco", "2"}));
    EXPECT_TRUE(s.binari_scelti[0] && s.binari_scelti[1] && s.binari_scelti[23]);
    EXPECT_EQ(s.conta_binari, 3);
    ASSERT_EQ(s.totale_treni, 2);
    EXPECT_EQ(s.treno_attuale, 0);

    const Treno& r = s.treni[0];
    EXPECT_EQ(r.indice_categoria, "13");
    EXPECT_EQ(r.ora_arrivo + ":" + r.min_arrivo, "06:42");
    EXPECT_EQ(r.ora_partenza + ":" + r.min_partenza, "06:44");
    EXPECT_EQ(r.sussidiaria, "Nessuna");
    EXPECT_EQ(r.indice_binario, ""); // derived only when the train is shown

    const Treno& bus = s.treni[1];
    EXPECT_EQ(bus.destinazione, "");
    EXPECT_EQ(bus.ora_partenza, "");
    EXPECT_EQ(bus.binario, "99");
    EXPECT_EQ(bus.fermate, "-");
    EXPECT_EQ(bus.sussidiaria, "Autobus (Piazzale Esterno)");
}

TEST(ScenarioReader, EmptyFileAndHeaderOnly) {
    Scenario empty;
    empty.nome_stazione = "kept";
    test::TempFolder folder;
    empty.nome_file_carica = folder.file("empty.zeb");
    test::writeBytes(empty.nome_file_carica, "");
    Funzione_Carica(empty);
    EXPECT_EQ(empty.nome_stazione, "kept");
    EXPECT_EQ(empty.totale_treni, 0);

    Scenario header = loadBytes(kHeader);
    EXPECT_EQ(header.totale_treni, 0);
    EXPECT_EQ(header.numero_binari, 3);
}

TEST(ScenarioReader, AcceptsLoneLineFeedsAndNoFinalLineEnd) {
    std::string file;
    for (const auto& line : passingBlock())
        file += line + "\n";
    file = "Stazione di = A\nOra inizio simulazione = 1.2.00\nNumero binari stazione = 0\n"
           "Numeri binari stazione = .\n" +
           file;
    file.pop_back();
    Scenario s = loadBytes(file);
    ASSERT_EQ(s.totale_treni, 1);
    EXPECT_EQ(s.treni[0].note, "");
    EXPECT_EQ(s.treni[0].numero, "231");
}

TEST(ScenarioReader, TheValueIsAllTextAfterTheFirstEqualsBlank) {
    auto block = passingBlock();
    block[13] = "Note al treno = a = b = c";
    block[3] = "Numero Treno =231 = 7"; // the keyword is never compared
    Scenario s = loadBytes(kHeader + joined(block));
    EXPECT_EQ(s.treni[0].note, "a = b = c");
    EXPECT_EQ(s.treni[0].numero, "7");
}

TEST(ScenarioReader, ADashTimeReadsAsEmpty) {
    auto block = passingBlock();
    block[2] = "Tipologia di treno = 0";
    block[5] = "Provenienza = -";
    block[8] = "Partenza = -";
    Scenario s = loadBytes(kHeader + joined(block));
    ASSERT_EQ(s.totale_treni, 1);
    EXPECT_EQ(s.treni[0].ora_partenza, "");
    EXPECT_EQ(s.treni[0].min_partenza, "");
    EXPECT_EQ(s.treni[0].provenienza, "");
    EXPECT_EQ(s.treni[0].destinazione, "Borgo Alto");

    // A train with neither end: the destination's "-" goes with the departure's.
    block[4] = "Destinazione = -";
    s = loadBytes(kHeader + joined(block));
    EXPECT_EQ(s.treni[0].destinazione, "");
    // A destination really named "-" keeps its name where it has a departure time.
    block[8] = "Partenza = 06.44";
    s = loadBytes(kHeader + joined(block));
    EXPECT_EQ(s.treni[0].destinazione, "-");
}

TEST(ScenarioReader, CommentsAndStrayLines) {
    auto block = passingBlock();
    block.insert(block.begin() + 4, "# a comment between value lines");
    block.insert(block.begin() + 1, "#comment before the separator");
    std::string file = crlfLines(
        {"# comment", "", "Stazione di = Valmora", "x", "Ora inizio simulazione = 06.30.00",
         "# another", "Numero binari stazione = 3", "Numeri binari stazione = 1,2,1tronco,."});
    file += joined(block);
    file += crlfLines({"Prossimo treno: ", "prossimo treno:", "", ""});
    Scenario s = loadBytes(file);
    ASSERT_EQ(s.totale_treni, 1);
    EXPECT_EQ(s.treni[0].destinazione, "Borgo Alto");
}

TEST(ScenarioReader, TrackTableLimits) {
    std::string names;
    for (int k = 1; k <= 26; ++k)
        names += std::to_string(k) + ",";
    Scenario s = loadBytes(crlfLines({"S = A", "O = 1.1", "N = 26", "N = " + names + "."}));
    EXPECT_EQ(s.numero_binari, 26);
    EXPECT_EQ(s.tabella_binari[25].nome, "26");
    EXPECT_EQ(s.conta_binari, 23); // 24 to 26 are names of no slot

    // A count larger than the names only takes the names that are there.
    Scenario fewer = loadBytes(crlfLines({"S = A", "O = 1.1", "N = 9", "N = 3,1tronco,."}));
    EXPECT_EQ(fewer.numero_binari, 2);
    EXPECT_EQ(fewer.conta_binari, 2);
}

// A broken file, the error number, and the start of the description (with its line).
struct BrokenFile {
    const char* name;
    std::string bytes;
    FormatError number;
    std::string description;
};

std::string withBlockLine(int index, const std::string& line) {
    auto block = passingBlock();
    block[index] = line;
    return kHeader + joined(block);
}

std::string cutBlock(int lines) {
    auto block = passingBlock();
    block.resize(lines);
    return kHeader + joined(block);
}

std::string tooManyTrains() {
    std::string file = kHeader;
    const std::string block = joined(passingBlock());
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
                   FormatError::FineFileInattesa,
                   "Riga 3: il file finisce, ma era attesa la riga \"Numero binari stazione = \""},
        BrokenFile{"EndInRecord", cutBlock(9), FormatError::FineFileInattesa,
                   "Riga 14: il file finisce, ma era attesa il binario"},
        BrokenFile{"EndAtSkippedLine",
                   kHeader + crlfLines({"", "Prossimo treno:", "Tipologia di treno = 9", "N = 1",
                                        "D = -", "P = -", "Categoria = Diretto"}),
                   FormatError::FineFileInattesa, "Riga 12: il file finisce"},
        BrokenFile{"NoValueInHeader", crlfLines({"Stazione di =Valmora"}),
                   FormatError::ValoreMancante, "Riga 1: manca \"= \""},
        BrokenFile{"NoValueInRecord", withBlockLine(10, "Indice Ritardo 1"),
                   FormatError::ValoreMancante, "Riga 15: manca \"= \""},
        BrokenFile{"TimeWithoutDot", withBlockLine(7, "Arrivo = 0642"),
                   FormatError::OrarioNonValido, "Riga 12: l'orario \"0642\""},
        BrokenFile{"StartTimeWithoutDot",
                   crlfLines({"Stazione di = A", "Ora inizio simulazione = 6"}),
                   FormatError::OrarioNonValido, "Riga 2:"},
        BrokenFile{"TrackLineWithoutDot", crlfLines({"S = A", "O = 1.1", "N = 2", "N = 1,2,"}),
                   FormatError::BinariSenzaFine, "Riga 4: l'elenco dei binari"},
        BrokenFile{"TwentySevenTracks",
                   crlfLines({"S = A", "O = 1.1", "N = 1",
                              "N = 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,"
                              "1tronco,2tronco,3tronco,1,."}),
                   FormatError::TroppiBinari, "Riga 4: l'elenco nomina più di 26 binari"},
        BrokenFile{"TrackCountNotANumber", crlfLines({"S = A", "O = 1.1", "N = tre"}),
                   FormatError::NumeroBinariNonValido, "Riga 3: il numero dei binari \"tre\""},
        BrokenFile{"NegativeTrackCount", crlfLines({"S = A", "O = 1.1", "N = -1"}),
                   FormatError::NumeroBinariNonValido, "Riga 3:"},
        BrokenFile{"Train2002", tooManyTrains(), FormatError::TroppiTreni,
                   "Riga " + std::to_string(4 + 14 * kMaxTrains + 2) +
                       ": il file contiene più di 2001 treni"},
        BrokenFile{"UnknownCategory", withBlockLine(6, "Categoria = regionale"),
                   FormatError::ValoreFuoriElenco, "Riga 11: la categoria \"regionale\""},
        BrokenFile{"DelayOutOfList", withBlockLine(10, "Indice Ritardo = 5"),
                   FormatError::ValoreFuoriElenco, "Riga 15: l'indice di ritardo \"5\""},
        BrokenFile{"CodeOutOfList", withBlockLine(12, "Indicazioni Sussidiarie = 11"),
                   FormatError::ValoreFuoriElenco, "Riga 17: l'indicazione sussidiaria \"11\""},
        BrokenFile{"AbsurdLine", kHeader + std::string(140000, 'x'), FormatError::RigaTroppoLunga,
                   "Riga 5: la riga è più lunga"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioReader, SystemErrorsCarryErrno) {
    test::TempFolder folder;
    Scenario s;
    s.nome_file_carica = folder.file("missing.zeb");
    try {
        Funzione_Carica(s);
        FAIL();
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.number(), ENOENT);
        EXPECT_EQ(e.description(), std::strerror(ENOENT));
    }
    s.nome_file_carica = folder.path();
    try {
        Funzione_Carica(s);
        FAIL();
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.number(), EISDIR);
    }
}

TEST(ScenarioReader, OnlyRegularFilesAreRead) {
    test::TempFolder folder;
    const std::string fifo = folder.file("pipe.zeb");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        Scenario s;
        s.nome_file_carica = path;
        try {
            Funzione_Carica(s); // a FIFO with no writer must not block
            FAIL() << path;
        } catch (const ScenarioFileError& e) {
            EXPECT_EQ(e.number(), static_cast<int>(FormatError::NonUnFile)) << path;
        }
    }
}

TEST(ScenarioReader, ErrorsQuoteAtMostFortyCharacters) {
    try {
        loadBytes(withBlockLine(6, "Categoria = " + std::string(60000, 'x')));
        FAIL();
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.description(), "Riga 11: la categoria \"" + std::string(40, 'x') +
                                       "…\" non è tra i valori dell'elenco");
    }
}

TEST(ScenarioReader, AFileFarLargerThanAnyScenarioIsRefusedUnread) {
    test::TempFolder folder;
    Scenario s;
    s.nome_file_carica = folder.file("huge.zeb");
    {
        std::FILE* f = std::fopen(s.nome_file_carica.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fseek(f, 100 * 1024 * 1024, SEEK_SET); // sparse: costs no disk
        std::fputc('x', f);
        std::fclose(f);
    }
    try {
        Funzione_Carica(s);
        FAIL();
    } catch (const ScenarioFileError& e) {
        EXPECT_EQ(e.number(), static_cast<int>(FormatError::FileTroppoGrande));
    }
}

} // namespace
} // namespace zeb
