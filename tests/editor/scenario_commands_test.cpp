#include "editor/editor_fixture.h"

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
    EXPECT_EQ(e.s.treni[0].codice_sussidiaria, "0");
    EXPECT_TRUE(e.editor.closeRequested()) << "nothing to ask without a scenario";
    EXPECT_TRUE(e.ui.messages.empty());

    e.ui.station = test::chooseStation({23, 1, 0});
    e.editor.nuovo_scenario_Click();
    EXPECT_EQ(e.editor.binario.entries, (std::vector<std::string>{"1", "2", "1tronco"}));
    EXPECT_EQ(e.s.nome_stazione, "Valmora");
    EXPECT_EQ(states(e.editor), test::kCoveredEmpty);
}

TEST(ScenarioCommands, ClosingTheStationDialogWithoutOkStillOpensTheScenario) {
    Editor e;
    e.editor.nuovo_scenario_Click(); // the fake closes it at once
    EXPECT_TRUE(e.editor.scenarioOpen());
    EXPECT_TRUE(e.editor.binario.entries.empty());
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
    EXPECT_FALSE(e.editor.closeRequested()) << "closing the window asks the same question";
    ASSERT_EQ(e.ui.messages.size(), 2u);
    EXPECT_EQ(e.ui.messages[0].described(), "Chiusura dello scenario: Chiudere questo scenario? "
                                            "Le modifihe se non salvate andranno perse! [2 1]");
    EXPECT_EQ(e.s.totale_treni, 2);

    e.ui.answers = {Answer::Yes};
    e.editor.chiudi_Click();
    EXPECT_EQ(states(e.editor), test::kNoScenario);
    EXPECT_EQ(e.editor.numerotrenit.text, "0");
    EXPECT_EQ(e.s.nome_stazione + e.s.nome_file + e.editor.numero.text, "");
    EXPECT_EQ(e.s.totale_treni + e.s.numero_binari + e.s.conta_binari, 0);
    EXPECT_EQ(e.s.binari_scelti, (std::array<bool, kTrackSlots>{}));
    EXPECT_EQ(e.s.treni[0].codice_sussidiaria, "0");

    // The next new scenario starts from empty station data.
    std::string seen = "unset";
    e.ui.station = [&](StationLogic& dialog) {
        seen = dialog.textstazione.text + "|" + dialog.nbinari.text;
    };
    e.editor.nuovo_scenario_Click();
    EXPECT_EQ(seen, "|0");
}

} // namespace
} // namespace zeb
