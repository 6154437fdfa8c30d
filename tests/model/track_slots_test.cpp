#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

TEST(TrackNaming, NumberedAndStubTracks) {
    EXPECT_EQ(trackName(22) + " " + trackName(23) + " " + trackCaption(24), "23 1tronco 2 Tronco");
    for (int slot = 0; slot < kTrackSlots; ++slot)
        EXPECT_EQ(slotOfTrackName(trackName(slot)), slot);
    for (const char* name : {"0", "24", "07", "1 Tronco", "1Tronco", "", "x"})
        EXPECT_EQ(slotOfTrackName(name), std::nullopt) << name;
}

// Names the rule does not make set no flag; the count is of chosen slots, so a name given twice
// counts once.
TEST(ControllaBinari2, ChoosesTheSlotsOfTheNamedTracks) {
    Scenario s;
    const char* names[] = {"7", "7", "abc", "0", "24", "-3", "", "1tronco"};
    for (int k = 0; k < 8; ++k)
        s.tabella_binari[k] = {names[k], std::to_string(k)};
    s.numero_binari = 8;
    Controlla_Binari_2(s);
    EXPECT_TRUE(s.binari_scelti[6] && s.binari_scelti[23]);
    EXPECT_EQ(s.conta_binari, 2);
}

} // namespace
} // namespace zeb
