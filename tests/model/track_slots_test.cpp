#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

TEST(TrackNaming, NumberedAndStubTracks) {
    EXPECT_EQ(trackName(0), "1");
    EXPECT_EQ(trackName(22), "23");
    EXPECT_EQ(trackName(23), "1tronco");
    EXPECT_EQ(trackName(25), "3tronco");
    EXPECT_EQ(trackCaption(22), "23");
    EXPECT_EQ(trackCaption(24), "2 Tronco");
    for (int slot = 0; slot < kTrackSlots; ++slot)
        EXPECT_EQ(slotOfTrackName(trackName(slot)), slot);
    for (const char* name : {"0", "24", "27", "07", "1 Tronco", "1Tronco", "", "99", "x"})
        EXPECT_EQ(slotOfTrackName(name), std::nullopt) << name;
}

TEST(TrackTableRebuild, ListsChosenSlotsInSlotOrder) {
    Scenario s;
    for (int slot : {24, 22, 0, 4})
        s.binari_scelti[slot] = true;
    const auto names = rebuildTrackTable(s);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "5", "23", "2tronco"}));
    ASSERT_EQ(s.numero_binari, 4);
    EXPECT_EQ(s.tabella_binari[0], (VoceBinario{"1", "0"}));
    EXPECT_EQ(s.tabella_binari[3], (VoceBinario{"2tronco", "3"}));
}

TEST(ControllaBinari2, NamesTheRuleDoesNotMakeSetNoFlag) {
    Scenario s;
    const char* names[] = {"7", "7", "abc", "0", "24", "-3", "", "1tronco"};
    for (int k = 0; k < 8; ++k)
        s.tabella_binari[k] = {names[k], std::to_string(k)};
    s.numero_binari = 8;
    Controlla_Binari_2(s);
    EXPECT_TRUE(s.binari_scelti[6]);
    EXPECT_TRUE(s.binari_scelti[23]);
    // The count is the number of chosen slots, so a name given twice counts once.
    EXPECT_EQ(s.conta_binari, 2);

    s.numero_binari = 30000; // never read past the 26 entries
    Controlla_Binari_2(s);
    EXPECT_EQ(s.conta_binari, 2);
}

} // namespace
} // namespace zeb
