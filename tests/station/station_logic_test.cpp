#include "station/station_logic.h"

#include "controls/fake_ui.h"
#include "model/track_slots.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

class StationDialog : public ::testing::Test {
protected:
    void click(int slot) {
        dialog.binario[slot].checked = !dialog.binario[slot].checked;
        dialog.binario_Click(slot);
    }

    Scenario s;
    ListBox trackList;
    test::FakeUi ui;
    StationLogic dialog{s, trackList, ui};
};

TEST_F(StationDialog, OpensWithTheScenarioAndSetsNoFlag) {
    s.nome_stazione = "Valmora";
    s.ora_inizio = "063"; // the two-character boxes show what fits
    s.min_inizio = "7";
    for (int slot = 0; slot < 23; ++slot)
        s.binari_scelti[slot] = true;
    s.conta_binari = 23;
    dialog.Form_Load();
    EXPECT_EQ(dialog.textstazione.text, "Valmora");
    EXPECT_EQ(dialog.orap.text, "06");
    EXPECT_EQ(dialog.minp.text, "7");
    EXPECT_EQ(dialog.nbinari.text, "23");
    EXPECT_TRUE(dialog.binario[22].checked);
    EXPECT_FALSE(dialog.binario[23].checked);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StationDialog, ATwentyFourthTrackIsRefusedWithOneMessage) {
    dialog.Form_Load();
    for (int slot = 0; slot < 23; ++slot)
        click(slot);
    EXPECT_EQ(dialog.nbinari.text, "23");
    click(25);
    EXPECT_FALSE(dialog.binario[25].checked);
    EXPECT_FALSE(s.binari_scelti[25]);
    EXPECT_EQ(s.conta_binari, 23);
    EXPECT_EQ(dialog.nbinari.text, "23");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Il numero massimo di binari selezionabili è 23");
    EXPECT_EQ(ui.messages[0].title, "Attenzione!");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);

    click(3); // unchecking works at once
    EXPECT_FALSE(s.binari_scelti[3]);
    EXPECT_EQ(dialog.nbinari.text, "22");
}

TEST_F(StationDialog, OkWithoutTracksIsRefusedAndStoresNothing) {
    s.nome_stazione = "old";
    dialog.Form_Load();
    dialog.textstazione.setText("new");
    EXPECT_FALSE(dialog.ok_Click());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Devi selezionare almeno un binario per proseguire");
    EXPECT_EQ(s.nome_stazione, "old");

    click(4);
    EXPECT_TRUE(dialog.ok_Click());
    EXPECT_EQ(s.nome_stazione, "new");
}

TEST_F(StationDialog, TheCloseCommandKeepsNameAndTimeButAppliesTheTracks) {
    s.nome_stazione = "Valmora";
    s.ora_inizio = "6";
    s.binari_scelti[0] = true;
    s.conta_binari = 1;
    trackList.entries = {"1"};
    trackList.selected = 0;
    dialog.Form_Load();
    dialog.textstazione.setText("Altrove");
    dialog.orap.setText("9");
    click(0);
    click(24);
    click(9);
    dialog.Form_Unload(); // closed without OK
    EXPECT_EQ(s.nome_stazione, "Valmora");
    EXPECT_EQ(s.ora_inizio, "6");
    EXPECT_EQ(trackList.entries, (std::vector<std::string>{"10", "2tronco"}));
    EXPECT_EQ(trackList.selected, -1);
    EXPECT_EQ(s.numero_binari, 2);

    click(9);
    click(24);
    dialog.Form_Unload(); // no track at all
    EXPECT_TRUE(trackList.entries.empty());
    EXPECT_EQ(s.numero_binari, 0);
}

TEST_F(StationDialog, TheStartTimeCheck) {
    struct Row {
        const char* ora;
        const char* minuti;
        const char* oraAfter;
        const char* minutiAfter;
    };
    for (const Row& row :
         {Row{"24", "30", "", "30"}, Row{"23", "59", "23", "59"}, Row{"7", "60", "7", ""},
          Row{"30", "75", "", ""}, Row{"-1", "-1", "-1", "-1"}, Row{"--", "99", "--", "99"},
          Row{"a", "5", "", "5"}, Row{"-", "x", "", ""}, Row{"", "", "", ""},
          Row{"07", "05", "07", "05"}}) {
        dialog.orap.setText(row.ora);
        dialog.minp.setText(row.minuti);
        dialog.Timer2_Timer();
        EXPECT_EQ(dialog.orap.text, row.oraAfter) << row.ora << ":" << row.minuti;
        EXPECT_EQ(dialog.minp.text, row.minutiAfter) << row.ora << ":" << row.minuti;
    }
}

} // namespace
} // namespace zeb
