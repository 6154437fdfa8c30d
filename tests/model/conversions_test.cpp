#include "model/conversions.h"
#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

TEST(BinarioCombo, LooksOnlyAtTheValidEntriesOfTheShownTrain) {
    Scenario s;
    s.treno_attuale = 3;
    Treno& t = s.treni[3];
    t.binario = "1tronco";
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
