#include "csv_exchange/csv_text.h"
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
        std::vector<int> lines;
        const auto rows = parseCsv(csvField(field, ';') + ";x\r\nnext", ';', lines);
        ASSERT_EQ(rows.size(), 2u) << field;
        EXPECT_EQ(rows[0], (std::vector<std::string>{field, "x"}));
        EXPECT_EQ(lines[1], field.find('\n') == std::string::npos ? 2 : 3) << field;
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
                    "231;regionale;Campolungo;Borgo Alto;6.42;06:44;2;1;Pieve,Rocca;;\r\n",
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
            "Riga 2, Categoria: «Treno» non è una delle categorie\n"
            "Riga 2, Arrivo: «25:10» non è un orario valido\n"
            "Riga 2, Partenza: «7.60» non è un orario valido\n"
            "Riga 2, Ritardo: «5» deve essere da 0 a 4\n"
            "Riga 2, Indicazione sussidiaria: «Boh» non è un'indicazione sussidiaria\n"
            "Riga 3, Arrivo: «8:00» ma il treno non ha provenienza\n"
            "Riga 3, Partenza: manca l'orario\n"
            "Riga 3, Binario: «9» non è un binario della stazione\n"
            "Riga 4, Arrivo: manca l'orario\n"
            "Riga 4, Fermate: «x» ma il treno non ha destinazione\n"
            "Riga 5, Binario: manca il binario\n"
            "Riga 5, Note: «Łódź» contiene caratteri che il file scenario non può contenere\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvImport, ErrorsStopAtTwentyAndTheTableAtItsLimit) {
    std::string csv = "Numero;Note\n";
    for (int i = 0; i < 25; ++i)
        csv += ";no number\n";
    const std::string many = summaries(imported(csv));
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), 21) << "20 errors, then their count";
    EXPECT_TRUE(many.ends_with("\n… e altri 5 errori\n")) << many;

    Scenario almostFull = test::stationValmora();
    almostFull.totale_treni = kMaxTrains - 2;
    const CsvImport tooMany =
        importTrainsCsv(almostFull, "Numero;Categoria\n1;Autobus\n2;Autobus\n3;Autobus\n");
    EXPECT_EQ(tooMany.errors, (std::vector<std::string>{
                                  "Il file contiene 3 treni, ma nello scenario ce ne stanno ancora "
                                  "2 (al massimo 2001)"}));
}

} // namespace
} // namespace zeb
