#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// A station with numbered and stub tracks and one train per category, the subsidiary codes
// going round all eleven, and among them trains that start here, end here, or do neither.
Scenario everyKindOfTrain() {
    Scenario s;
    s.nome_stazione = "Borgo Sant'Àngelo";
    s.ora_inizio = "7";
    s.min_inizio = "05";
    for (int slot : {0, 9, 22, 23, 24, 25})
        s.binari_scelti[slot] = true;
    rebuildTrackTable(s);
    for (int i = 0; i < 22; ++i) {
        Treno& t = s.treni[i];
        const int categoria = i % 16;
        const int codice = i % 11;
        t.numero = std::to_string(1000 + i);
        t.categoria = std::string(kCategorie[categoria]);
        t.indice_categoria = std::to_string(categoria);
        t.ritardo = std::to_string(i % 5);
        t.provenienza = "Origine " + std::to_string(i);
        t.destinazione = "Destinazione " + std::to_string(i);
        t.ora_arrivo = std::to_string(i);
        t.min_arrivo = "0" + std::to_string(i % 10);
        t.ora_partenza = std::to_string(i);
        t.min_partenza = std::to_string(i + 30);
        t.binario = s.tabella_binari[i % 6].nome;
        t.fermate = "Pieve,Rocca,.";
        t.sussidiaria = std::string(kSussidiarie[codice]);
        t.codice_sussidiaria = std::to_string(codice);
        t.note = i % 3 == 0 ? "" : "nota = con uguale, virgola e più";
    }
    // 3: starts here. 4: ends here. 5: neither end, entered with only a number. 7: "Eurostar
    // Link", whose track the file does not keep.
    s.treni[3].provenienza = "";
    s.treni[3].ora_arrivo = s.treni[3].min_arrivo = "--";
    s.treni[4].destinazione = "";
    s.treni[4].ora_partenza = s.treni[4].min_partenza = "--";
    s.treni[4].fermate = "Il treno termina nella stazione simulata,.";
    s.treni[5].provenienza = s.treni[5].destinazione = "";
    s.treni[5].ora_arrivo = s.treni[5].min_arrivo = "--";
    s.treni[5].ora_partenza = s.treni[5].min_partenza = "--";
    s.treni[5].fermate = "Il treno termina nella stazione simulata,.";
    s.totale_treni = 22;
    s.treno_attuale = 22;
    return s;
}

// What a load gives back for a saved train: the writer's marks for what the file does not keep.
Treno asLoaded(Treno t) {
    if (t.provenienza.empty())
        t.ora_arrivo = t.min_arrivo = "";
    if (t.destinazione.empty())
        t.ora_partenza = t.min_partenza = "";
    if (t.fermate == "Il treno termina nella stazione simulata,.")
        t.fermate = "-";
    if (isCategoriaSenzaBinario(t.categoria))
        t.binario = "99";
    return t;
}

TEST(RoundTrip, EveryKindOfTrainLoadsBackAsSaved) {
    test::TempFolder folder;
    Scenario original = everyKindOfTrain();
    original.nome_file = folder.file("a.zeb");
    Funzione_Salva_Con_Nome(original);

    Scenario loaded;
    loaded.nome_file_carica = original.nome_file;
    Funzione_Carica(loaded);

    EXPECT_EQ(test::summary(loaded).substr(0, test::summary(loaded).find('\n')),
              "Borgo Sant'Àngelo|7.05|1,10,23,1tronco,2tronco,3tronco|6");
    EXPECT_EQ(loaded.binari_scelti, original.binari_scelti);
    EXPECT_EQ(loaded.tabella_binari, original.tabella_binari);
    ASSERT_EQ(loaded.totale_treni, original.totale_treni);
    EXPECT_EQ(original.treni[5].tipologia, "0");
    for (int i = 0; i < original.totale_treni; ++i)
        EXPECT_EQ(loaded.treni[i], asLoaded(original.treni[i])) << "train " << i;

    // Saving what was loaded writes the same bytes again.
    loaded.nome_file = folder.file("b.zeb");
    Funzione_Salva_Con_Nome(loaded);
    EXPECT_EQ(test::readBytes(loaded.nome_file), test::readBytes(original.nome_file));
}

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
