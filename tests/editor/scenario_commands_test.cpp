#include "editor/editor_logic.h"

#include "controls/fake_ui.h"
#include "editor/field_help.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

struct Editor {
    Scenario s;
    test::FakeUi ui;
    EditorLogic editor{s, ui};
};

// The states a user can tell apart: which scenario buttons respond.
void expectNoScenario(const EditorLogic& e) {
    EXPECT_TRUE(e.nuovo_scenario.enabled);
    EXPECT_TRUE(e.carica_scenario.enabled);
    EXPECT_TRUE(e.contributo.enabled);
    EXPECT_FALSE(e.chiudi.enabled);
    EXPECT_FALSE(e.salva.enabled);
    EXPECT_FALSE(e.modifica.enabled);
    EXPECT_FALSE(e.nuovotreno.enabled);
    EXPECT_FALSE(e.tprecedente.enabled);
    EXPECT_FALSE(e.tsuccessivo.enabled);
    EXPECT_FALSE(e.cancellatreno.enabled);
    EXPECT_TRUE(e.inseriscitreno.visible);
    EXPECT_FALSE(e.modificatr.visible);
    EXPECT_TRUE(e.copri.visible);
    EXPECT_FALSE(e.scenarioOpen());
}

TEST(ScenarioCommands, StartState) {
    Editor e;
    expectNoScenario(e.editor);
    EXPECT_EQ(e.editor.numerotrenit.text, "");
    EXPECT_EQ(e.s.treni[0].codice_sussidiaria, "0");
    EXPECT_EQ(e.editor.categoria.entries.size(), 16u);
    EXPECT_EQ(e.editor.sussi.entries[9], "Sola 2a classe + Cuccette");
    EXPECT_EQ(e.editor.ritardo.entries.back(), "4");
}

TEST(ScenarioCommands, NewScenarioFillsTheTrackListInSlotOrder) {
    Editor e;
    e.ui.station = test::chooseStation({23, 1, 0});
    e.editor.nuovo_scenario_Click();
    EXPECT_EQ(e.ui.stationOpenings, 1);
    EXPECT_EQ(e.editor.binario.entries, (std::vector<std::string>{"1", "2", "1tronco"}));
    EXPECT_EQ(e.s.nome_stazione, "Valmora");
    EXPECT_TRUE(e.editor.chiudi.enabled && e.editor.salva.enabled && e.editor.modifica.enabled);
    EXPECT_TRUE(e.editor.nuovotreno.enabled);
    EXPECT_FALSE(e.editor.nuovo_scenario.enabled || e.editor.carica_scenario.enabled);
    EXPECT_TRUE(e.editor.copri.visible);
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
    ASSERT_EQ(e.ui.messages.size(), 1u);
    EXPECT_EQ(e.ui.messages[0].text,
              "Chiudere questo scenario? Le modifihe se non salvate andranno perse!");
    EXPECT_EQ(e.ui.messages[0].title, "Chiusura dello scenario");
    EXPECT_EQ(e.ui.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(e.ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(e.editor.scenarioOpen());
    EXPECT_EQ(e.s.totale_treni, 2);

    e.ui.answers = {Answer::Yes};
    e.editor.chiudi_Click();
    expectNoScenario(e.editor);
    EXPECT_EQ(e.editor.numerotrenit.text, "0");
    EXPECT_EQ(e.s.nome_stazione, "");
    EXPECT_EQ(e.s.nome_file, "");
    EXPECT_EQ(e.s.totale_treni, 0);
    EXPECT_EQ(e.s.numero_binari, 0);
    EXPECT_EQ(e.s.conta_binari, 0);
    EXPECT_EQ(e.s.binari_scelti, (std::array<bool, kTrackSlots>{}));
    EXPECT_EQ(e.s.treni[0].codice_sussidiaria, "0");
    EXPECT_EQ(e.editor.numero.text, "");

    // The next new scenario starts from empty station data.
    std::string seenName = "unset";
    int seenCount = -1;
    e.ui.station = [&](StationLogic& dialog) {
        seenName = dialog.textstazione.text;
        seenCount = std::stoi(dialog.nbinari.text);
    };
    e.editor.nuovo_scenario_Click();
    EXPECT_EQ(seenName, "");
    EXPECT_EQ(seenCount, 0);
}

} // namespace
} // namespace zeb
