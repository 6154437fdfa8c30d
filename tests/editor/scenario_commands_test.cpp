#include "editor/editor_fixture.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using test::states;

struct Editor {
    Scenario s;
    test::FakeUi ui;
    EditorLogic editor{s, ui};
};

TEST(ScenarioCommands, StartStateAndANewScenario) {
    Editor e;
    EXPECT_EQ(states(e.editor), test::kNoScenario);
    EXPECT_FALSE(e.editor.scenarioOpen());
    EXPECT_TRUE(e.editor.closeRequested()) << "nothing to ask without a scenario";
    e.editor.nuovo_scenario_Click(); // the station dialog closed without OK still opens it
    EXPECT_TRUE(e.editor.scenarioOpen() && e.editor.binario.entries.empty());

    e.ui.station = test::chooseStation({23, 1, 0});
    e.editor.modifica_Click();
    EXPECT_EQ(e.editor.binario.entries, (std::vector<std::string>{"1", "2", "1tronco"}));
    EXPECT_EQ(states(e.editor), test::kCoveredEmpty);
    EXPECT_TRUE(e.ui.messages.empty());
}

TEST(ScenarioCommands, CloseScenarioAsksAndOnlyYesResets) {
    Editor e;
    e.ui.station = test::chooseStation({0, 4});
    e.editor.nuovo_scenario_Click();
    e.s.totale_treni = e.s.treno_attuale = 2;
    e.s.nome_file = "/tmp/x.zeb";
    e.s.treni[2].codice_sussidiaria = "7";

    e.ui.answers = {Answer::No};
    e.editor.chiudi_Click();
    EXPECT_FALSE(e.editor.closeRequested()) << "closing the window asks, Annulla keeps it open";
    ASSERT_EQ(e.ui.messages.size(), 2u);
    EXPECT_EQ(e.ui.messages[0].described(), "Chiusura dello scenario: Chiudere questo scenario? "
                                            "Le modifihe se non salvate andranno perse! [2 3]");
    EXPECT_EQ(e.ui.messages[1].described(),
              "Chiusura di Zebrano: Lo scenario ha modifiche non salvate. Salvarle prima di "
              "chiudere? [2 2]");
    e.ui.answers = {Answer::Save}; // and the save dialog cancelled: the window stays
    EXPECT_FALSE(e.editor.closeRequested());
    e.ui.answers = {Answer::Discard};
    EXPECT_TRUE(e.editor.closeRequested());
    EXPECT_EQ(e.s.totale_treni, 2);

    e.ui.answers = {Answer::Yes};
    e.editor.chiudi_Click();
    EXPECT_EQ(states(e.editor), test::kNoScenario);
    EXPECT_EQ(test::summary(e.s) + "|" + e.s.nome_file + e.editor.numero.text + "|" +
                  e.editor.numerotrenit.text + "|" + e.s.treni[0].codice_sussidiaria,
              "|.||0||0|0");
    EXPECT_EQ(e.s.binari_scelti, (std::array<bool, kTrackSlots>{}));
}

} // namespace
} // namespace zeb
