#include "station/station_logic.h"

#include "controls/fake_ui.h"
#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

class StationDialog : public ::testing::Test {
protected:
    void click(std::initializer_list<int> slots) {
        for (int slot : slots) {
            dialog.binario[slot].checked = !dialog.binario[slot].checked;
            dialog.binario_Click(slot);
        }
    }

    Scenario s;
    ListBox trackList;
    test::FakeUi ui;
    StationLogic dialog{s, trackList, ui};
};

TEST_F(StationDialog, ATwentyFourthTrackIsRefusedWithOneMessage) {
    dialog.Form_Load();
    for (int slot = 0; slot < 23; ++slot)
        click({slot});
    click({25});
    EXPECT_FALSE(dialog.binario[25].checked || s.binari_scelti[25]);
    EXPECT_EQ(std::to_string(s.conta_binari) + "|" + dialog.nbinari.text, "23|23");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(),
              "Attenzione!: Il numero massimo di binari selezionabili è 23 [3 0]");
    click({3}); // unchecking works at once
    EXPECT_EQ(dialog.nbinari.text, "22");

    // A file may bring more than 23: each uncheck above 23 still warns.
    s.binari_scelti.fill(true);
    s.conta_binari = 26;
    dialog.Form_Load();
    click({0});
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(dialog.nbinari.text, "25");
}

TEST_F(StationDialog, OkWithoutTracksIsRefusedAndStoresNothing) {
    s.nome_stazione = "old";
    dialog.Form_Load();
    dialog.textstazione.setText("new");
    EXPECT_FALSE(dialog.ok_Click());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Devi selezionare almeno un binario per proseguire");
    EXPECT_EQ(s.nome_stazione, "old");
    click({4});
    dialog.orap.setText("24"); // the periodic check of the start time
    dialog.minp.setText("60");
    dialog.Timer2_Timer();
    EXPECT_EQ(dialog.orap.text + ":" + dialog.minp.text, ":");
    EXPECT_TRUE(dialog.ok_Click());
    EXPECT_EQ(s.nome_stazione, "new");
}

TEST_F(StationDialog, TheCloseCommandKeepsNameAndTimeButAppliesTheTracks) {
    s.nome_stazione = "Valmora";
    s.binari_scelti[0] = true;
    s.conta_binari = 1;
    trackList = {{"1"}, 0};
    dialog.Form_Load();
    dialog.textstazione.setText("Altrove");
    click({0, 24, 9});
    dialog.Form_Unload(); // closed without OK
    EXPECT_EQ(s.nome_stazione, "Valmora");
    EXPECT_EQ(trackList.entries, (std::vector<std::string>{"10", "2tronco"}));
    EXPECT_EQ(trackList.selected, -1);
    click({9, 24});
    dialog.Form_Unload(); // no track at all
    EXPECT_TRUE(trackList.entries.empty());
    EXPECT_EQ(s.numero_binari, 0);
}

} // namespace
} // namespace zeb
