#include "model/conversions.h"
#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

Treno& recordInUse(Scenario& s, int index) {
    s.treno_in_uso = index;
    return s.treni[index];
}

TEST(SussiCombo, TheLowerCaseClasseOfCodeNineIsExact) {
    Scenario s;
    Treno& t = recordInUse(s, 2);
    t.sussidiaria = "Sola 2a classe + Cuccette";
    Sussi_Combo(s);
    EXPECT_EQ(t.codice_sussidiaria, "9");
    t.sussidiaria = "Sola 2a Classe + Cuccette";
    Sussi_Combo(s);
    EXPECT_EQ(t.codice_sussidiaria, "9");
    t.sussidiaria = "Autobus (Piazzale Esterno)";
    Sussi_Combo(s);
    EXPECT_EQ(t.codice_sussidiaria, "10");
}

TEST(ComboSussi, OnlyTheExactCodesGiveADescription) {
    Scenario s;
    Treno& t = recordInUse(s, 1);
    t.codice_sussidiaria = "10";
    Combo_Sussi(s);
    EXPECT_EQ(t.sussidiaria, "Autobus (Piazzale Esterno)");
    for (const char* code : {"11", "-1", "03", "", " 3"}) {
        t.codice_sussidiaria = code;
        Combo_Sussi(s);
        EXPECT_EQ(t.sussidiaria, "Autobus (Piazzale Esterno)") << code;
    }
}

TEST(BinarioCombo, LooksOnlyAtTheValidEntriesOfTheShownTrain) {
    Scenario s;
    s.treno_attuale = 3;
    s.treno_in_uso = 0; // the track lookup ignores treno_in_uso
    Treno& t = s.treni[3];
    t.binario = "1tronco";

    Binario_Combo(s); // no tracks at all
    EXPECT_EQ(t.indice_binario, "");

    for (int slot : {0, 4, 23, 24})
        s.binari_scelti[slot] = true;
    rebuildTrackTable(s);
    Binario_Combo(s);
    EXPECT_EQ(t.indice_binario, "2");

    // A smaller station keeps the old entry 3 ("2tronco") in the table, but it is not valid.
    s.binari_scelti = {};
    s.binari_scelti[0] = s.binari_scelti[4] = s.binari_scelti[23] = true;
    rebuildTrackTable(s);
    t.binario = "2tronco";
    t.indice_binario = "";
    Binario_Combo(s);
    EXPECT_EQ(t.indice_binario, "");
}

} // namespace
} // namespace zeb
