#include "editor/editor_logic.h"

#include "controls/fake_ui.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// An editor with a station of three tracks, in the entry state of a new train.
class PeriodicRefresh : public ::testing::Test {
protected:
    void SetUp() override {
        ui.station = test::chooseStation({0, 1, 23});
        editor.nuovo_scenario_Click();
        editor.copri.visible = false;
        editor.Cancella();
        editor.Timer1_Timer();
    }

    Scenario s;
    test::FakeUi ui;
    EditorLogic editor{s, ui};
};

TEST_F(PeriodicRefresh, EachEndOpensItsBoxesOnce) {
    editor.provenienza.setText("C");
    editor.destinazione.setText("Borgo Alto");
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.oraa.enabled && editor.mina.enabled);
    EXPECT_TRUE(editor.orap.enabled && editor.minp.enabled && editor.fermate.enabled);
    EXPECT_EQ(editor.oraa.text + "|" + editor.fermate.text, "|");
    editor.oraa.setText("6");
    editor.fermate.setText("Pieve");
    editor.provenienza.setText("Campolungo");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.oraa.text + "|" + editor.fermate.text, "6|Pieve")
        << "further typing leaves the boxes alone";

    editor.provenienza.setText("");
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.oraa.enabled);
    EXPECT_EQ(editor.oraa.text, "--");
    editor.provenienza.setText("B");
    editor.Timer1_Timer();
    EXPECT_EQ(editor.oraa.text, "") << "the typed time is gone";
}

TEST_F(PeriodicRefresh, RangeChecksEmptyEachBoxByItself) {
    editor.provenienza.setText("A");
    editor.destinazione.setText("B");
    editor.Timer1_Timer();
    // Hour and minute typed into both times, and what the check leaves of them.
    const std::pair<std::string, std::string> times[] = {
        {"23:59", "23:59"}, {"24:30", ":30"},   {"12:60", "12:"}, {"7:5", "7:5"},
        {"07:05", "07:05"}, {"-1:-1", "-1:-1"}, {"a:b", ":"},     {"1a:", ":"},
        {"--:99", "--:99"}, {"-:9", ":9"}};
    for (const auto& [typed, left] : times) {
        for (auto [ora, minuti] :
             {std::pair{&editor.oraa, &editor.mina}, {&editor.orap, &editor.minp}}) {
            ora->setText(typed.substr(0, typed.find(':')));
            minuti->setText(typed.substr(typed.find(':') + 1));
        }
        editor.Timer1_Timer();
        EXPECT_EQ(editor.oraa.text + ":" + editor.mina.text, left) << typed;
        EXPECT_EQ(editor.orap.text + ":" + editor.minp.text, left) << typed;
    }
    EXPECT_EQ(editor.oraa1 + ":" + editor.minp1, "-:9");
}

TEST_F(PeriodicRefresh, TracklessCategoriesForceTheBusIndication) {
    editor.categoria.select(2); // Diretto
    editor.Timer1_Timer();
    EXPECT_TRUE(editor.binario.enabled && editor.sussi.enabled);
    EXPECT_EQ(editor.sussi.selected, 0);
    editor.sussi.select(4);
    editor.Timer1_Timer();
    EXPECT_EQ(editor.sussi.text(), "Sola 2a Classe") << "a later choice remains";

    editor.categoria.select(7); // Eurostar Link
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.binario.enabled || editor.sussi.enabled || editor.sussi.selected != 10);
    editor.categoria.select(13);
    editor.Timer1_Timer();
    EXPECT_EQ(editor.sussi.selected, 0);
}

} // namespace
} // namespace zeb
