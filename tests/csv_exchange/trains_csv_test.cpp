#include "text/csv_text.h"
#include "csv_exchange/trains_csv.h"

#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

const std::string kHeader =
    "Numero;Categoria;Provenienza;Destinazione;Arrivo;Partenza;Binario;Ritardo;Fermate;"
    "Indicazione sussidiaria;Note\r\n";

TEST(TrainsCsv, ExportsTheExampleAsASpreadsheetOpensIt) {
    Scenario s = test::exampleScenario();
    s.treni[1].note = "sì; \"piazzale\"";
    EXPECT_EQ(trainsCsv(s), "\xEF\xBB\xBF" + kHeader +
                                "231;Regionale;Campolungo;Borgo Alto;06:42;06:44;2;1;Pieve,Rocca;"
                                "Nessuna;\r\n"
                                "88;Autobus;Borgo Alto;;07:05;;;0;;Autobus (Piazzale Esterno);"
                                "\"sì; \"\"piazzale\"\"\"\r\n");
}

TEST(CsvText, QuotesAndLineBreaksGoBothWays) {
    for (const std::string field : {"plain", "a;b", "say \"hi\"", "two\r\nlines", ""}) {
        const std::string text = csvField(field, ';') + ";x\r\nnext";
        CsvRows rows(text, ';');
        std::vector<std::string> row;
        ASSERT_TRUE(rows.next(row));
        EXPECT_EQ(row, (std::vector<std::string>{field, "x"}));
        ASSERT_TRUE(rows.next(row));
        EXPECT_EQ(rows.line(), field.find('\n') == std::string::npos ? 2 : 3) << field;
        EXPECT_FALSE(rows.next(row));
    }
}

// The station Valmora (tracks 1, 2, 1tronco) and the trains read from `csv`.
CsvImport imported(const std::string& csv) {
    return importTrainsCsv(test::stationValmora(), csv);
}

std::string summaries(const CsvImport& result) {
    std::string out;
    for (const Treno& t : result.trains)
        out += test::trainSummary(t) + "\n";
    for (const std::string& error : result.errors)
        out += error + "\n";
    return out;
}

struct CsvCase {
    const char* name;
    std::string csv;
    std::string expected; // the trains' summaries, or the errors
};

void PrintTo(const CsvCase& row, std::ostream* out) {
    *out << row.name;
}

class CsvImportReads : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvImportReads, TrainsOrErrors) {
    EXPECT_EQ(summaries(imported(GetParam().csv)), GetParam().expected);
}

const std::string kRegionale =
    "|231|Borgo Alto|Campolungo|Regionale/13|6.42|06.44|2|1|Pieve,Rocca,.|0/Nessuna|\n";

INSTANTIATE_TEST_SUITE_P(
    Table, CsvImportReads,
    ::testing::Values(
        CsvCase{"SemicolonsAndABom",
                "\xEF\xBB\xBF" + kHeader +
                    "231;regionale;Campolungo;Borgo Alto;6.42;06:44:00;2;1;Pieve,Rocca;;\r\n",
                kRegionale},
        CsvCase{"CommasAnyOrderAnyCase",
                " NOTE ,numero,Categoria,provenienza,destinazione,arrivo,partenza,binario,"
                "ritardo,fermate\n,231,Regionale,Campolungo,Borgo "
                "Alto,6:42,06:44,2,1,\"Pieve,Rocca\"\n",
                kRegionale},
        CsvCase{
            "TabsAndWindows1252",
            "Numero\tCategoria\tProvenienza\tArrivo\tNote\n88\tAutobus\tCant\xF9\t7:5\tpi\xF9\n",
            "|88||Cant\xC3\xB9|Autobus/0|7.5|--.--||0|Il treno termina nella stazione "
            "simulata,.|10/Autobus (Piazzale Esterno)|pi\xC3\xB9\n"},
        CsvCase{"DefaultsAndCodes",
                "Numero;Destinazione;Partenza;Binario;Indicazione sussidiaria;Categoria\n"
                "9;X;23:59;1 Tronco;9;Diretto\n\n",
                "|9|X||Diretto/2|--.--|23.59|1tronco|0|,.|9/Sola 2a classe + Cuccette|\n"},
        CsvCase{"UnknownAndMissingColumns", "Numer;Categoria;Categoria\n1;Diretto;Diretto\n",
                "Riga 1: la colonna «Numer» non è tra quelle che l'editor conosce\n"
                "Riga 1: la colonna «Categoria» compare due volte\n"
                "Riga 1: manca la colonna «Numero»\n"},
        CsvCase{
            "EveryKindOfRowError",
            kHeader + ";Treno;A;B;25:10;7.60;9;5;;Boh;\n"
                      "7;Diretto;;B;8:00;;9;;;;\n"
                      "8;Diretto;A;;;;2;;x;;\n"
                      "9;Diretto;;;;;;;;;Łódź\n",
            "Riga 2, Numero: manca il numero del treno\n"
            "Riga 2, Categoria: «Treno» non è una delle categorie: Autobus, Cisalpino, Diretto, "
            "Espresso, Eurocity, Euronight, Eurostar, Eurostar Link, Intercity, Intercity Notte, "
            "Intercity Plus, Interregionale, MetroNapoli, Regionale, Suburbano, TrenOK\n"
            "Riga 2, Arrivo: «25:10» non è un orario valido\n"
            "Riga 2, Partenza: «7.60» non è un orario valido\n"
            "Riga 2, Ritardo: «5» deve essere da 0 a 4\n"
            "Riga 2, Indicazione sussidiaria: «Boh» non è un'indicazione sussidiaria\n"
            "Riga 3, Arrivo: «8:00» ma il treno non ha provenienza\n"
            "Riga 3, Partenza: manca l'orario\n"
            "Riga 3, Binario: «9» non è un binario della stazione\n"
            "Riga 4, Arrivo: manca l'orario\n"
            "Riga 4, Fermate: «x» ma il treno non ha destinazione\n"
            "Riga 5, Note: «Łódź» contiene caratteri che il file scenario non può contenere\n"},
        CsvCase{"ATrainMayHaveNoTrackYet", kHeader + "7;Regionale;A;B;8:00;8:05;;;;;\n",
                "|7|B|A|Regionale/13|8.00|8.05||0|,.|0/Nessuna|\n"},
        CsvCase{"LineBreaksOnlyInStopsAndNotes",
                kHeader + "\"12\n34\";Regionale;\"Borgo\r\nAlto\";B;6:42;06:44;2;1;;;\n"
                          "231;Regionale;Campolungo;Borgo Alto;6.42;06:44;2;1;\"Pieve,\r\nRocca\";;"
                          "\"a\nb\"\n",
                "Riga 2, Numero: «12⏎34» va a capo, ma questo campo sta su una riga sola\n"
                "Riga 2, Provenienza: «Borgo⏎Alto» va a capo, ma questo campo sta su una riga "
                "sola\n"},
        CsvCase{"StopsAndNotesKeepTheirLineBreaksAsBlanks",
                kHeader + "231;Regionale;Campolungo;Borgo Alto;6.42;06:44;2;1;\"Pieve,\r\nRocca\";;"
                          "\"a\nb\n\"\n",
                "|231|Borgo Alto|Campolungo|Regionale/13|6.42|06.44|2|1|Pieve, Rocca,.|0/Nessuna|a "
                "b\n"},
        CsvCase{"AMarkMeansUtf8Throughout",
                "\xEF\xBB\xBFNumero;Provenienza;Arrivo;Note\n1;caff\xC3\xA8;7:00;gi\xE0\n",
                "Riga 2, Note: testo non UTF-8 «gi\xC3\xA0»\n"},
        CsvCase{"ControlCharactersBecomeBlanks",
                "Numero;Note;Provenienza;Arrivo\n7;a\x01"
                "b\x1B"
                "c\xC2\x81"
                "d;\vX\x02;7:00\n",
                "|7||X|Autobus/0|7.00|--.--||0|Il treno termina nella stazione simulata,.|10/"
                "Autobus (Piazzale Esterno)|a b c d\n"},
        CsvCase{"AnOverlongLineFeedIsNoUtf8",
                "\xEF\xBB\xBFNumero;Note\n1\xC0\x8A"
                "2;a\xC0\x8D"
                "b\n",
                "Riga 2, Numero: testo non UTF-8 «1\xC3\x80\xC5\xA0"
                "2»\n"
                "Riga 2, Note: testo non UTF-8 «a\xC3\x80 b»\n"},
        CsvCase{"TextsWithinTheFileLimits",
                "Numero;Note;Destinazione;Partenza;Fermate\n1;" + std::string(65537, 'n') +
                    ";B;7:00;" + std::string(65535, 'f') + "\n",
                "Riga 2, Fermate: «" + std::string(40, 'f') +
                    "…» è troppo lungo: il file scenario tiene al massimo 65534 byte per campo\n"
                    "Riga 2, Note: «" +
                    std::string(40, 'n') +
                    "…» è troppo lungo: il file scenario tiene al massimo 65536 byte per campo\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvImport, ErrorsStopAtTwentyAndTheTableAtItsLimit) {
    std::string csv = "Numero;Note\n";
    std::string header = "Numero";
    for (int i = 0; i < 25; ++i) {
        csv += ";no number\n";
        header += ";x" + std::to_string(i);
    }
    for (const std::string& file : {csv, header + "\n"}) {
        const std::string many = summaries(imported(file));
        EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 21) << "20 errors, then their count";
        EXPECT_TRUE(many.ends_with("\n… e altri 5 errori\n")) << many;
    }

    Scenario almostFull = test::stationValmora();
    almostFull.totale_treni = kMaxTrains - 2;
    const CsvImport tooMany =
        importTrainsCsv(almostFull, "Numero;Categoria\n1;Autobus\n2;Autobus\n3;Autobus\n");
    EXPECT_EQ(tooMany.errors, (std::vector<std::string>{
                                  "Il file contiene 3 treni, ma nello scenario ce ne stanno ancora "
                                  "2 (al massimo 2001)"}));

    // Trains whose texts would take the scenario past what a file holds.
    Scenario heavy = test::stationValmora();
    for (; heavy.totale_treni < 1024; ++heavy.totale_treni)
        heavy.treni[static_cast<std::size_t>(heavy.totale_treni)].note.assign(65536, 'n');
    EXPECT_EQ(importTrainsCsv(heavy, "Numero;Categoria\n1;Autobus\n").errors,
              (std::vector<std::string>{"Con questi treni i testi dello scenario supererebbero i "
                                        "64 MB che il file scenario può contenere"}));
}

// A file of blank lines is read a row at a time; the import can be stopped on the way.
TEST(CsvImport, ReadsRowByRowAndStopsWhenAsked) {
    const std::string blanks = "Numero\n" + std::string(2 << 20, '\n') + "7\n";
    int calls = 0;
    const CsvImport whole = importTrainsCsv(test::stationValmora(), blanks, [&](auto, auto) {
        ++calls;
        return true;
    });
    EXPECT_TRUE(whole.ok());
    EXPECT_EQ(whole.trains.size(), 1u);
    EXPECT_EQ(calls, 2);
    const CsvImport stopped =
        importTrainsCsv(test::stationValmora(), blanks, [](auto, auto) { return false; });
    EXPECT_TRUE(stopped.cancelled && stopped.trains.empty() && stopped.errors.empty());
}

} // namespace
} // namespace zeb
