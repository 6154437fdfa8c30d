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

    EXPECT_EQ(loaded.nome_stazione, original.nome_stazione);
    EXPECT_EQ(loaded.ora_inizio, "7");
    EXPECT_EQ(loaded.min_inizio, "05");
    EXPECT_EQ(loaded.numero_binari, 6);
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

TEST(RoundTrip, HighBytesSurviveALoadAndASave) {
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += static_cast<char>(b);
    std::string bytes = test::exampleFileBytes();
    bytes.replace(bytes.find("Valmora"), 7, high);
    const std::string lastNote = "Note al treno = ";
    bytes.insert(bytes.rfind(lastNote) + lastNote.size(), high);

    test::TempFolder folder;
    Scenario s;
    s.nome_file_carica = folder.file("high.zeb");
    test::writeBytes(s.nome_file_carica, bytes);
    Funzione_Carica(s);
    EXPECT_EQ(s.treni[1].note.substr(0, 3), "€"); // held as UTF-8 inside
    s.nome_file = folder.file("again.zeb");
    Funzione_Salva_Con_Nome(s);
    EXPECT_EQ(test::readBytes(s.nome_file), bytes);
}

} // namespace
} // namespace zeb
