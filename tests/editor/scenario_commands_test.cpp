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

TEST(ScenarioCommands, ClosingTheWindowAsksOnlyWithAScenarioOpen) {
    Editor e;
    EXPECT_TRUE(e.editor.closeRequested());
    EXPECT_TRUE(e.ui.messages.empty());
    e.editor.nuovo_scenario_Click();
    e.ui.answers = {Answer::No};
    EXPECT_FALSE(e.editor.closeRequested());
    e.ui.answers = {Answer::Yes};
    EXPECT_TRUE(e.editor.closeRequested());
    EXPECT_EQ(e.ui.messages.size(), 2u);
    EXPECT_EQ(e.ui.messages[1].title, "Chiusura dello scenario");
}

TEST(ScenarioCommands, ContributionWindowAnyNumberOfTimes) {
    Editor e;
    e.editor.contributo_Click();
    e.editor.nuovo_scenario_Click();
    e.editor.contributo_Click();
    EXPECT_EQ(e.ui.contributionOpenings, 2);
    EXPECT_TRUE(e.editor.scenarioOpen());
}

TEST(FieldHelpTexts, EveryTextByteForByte) {
    const std::pair<const char*, const char*> expected[13] = {
        {"Numero treno", "Inserite il numero del treno"},
        {"Categoria", "Inserite la categoria del treno"},
        {"Provenienza", "Inserite la provenienza del treno, nel caso il treno parta dalla "
                        "stazione simulata lasciate il campo vuoto"},
        {"Destinazione", "Inserite la destinazione del treno, nel caso il treno termini nella "
                         "stazione simulata lasciate il campo vuoto"},
        {"Ora arrivo", "Inserite l'ora di arrivo del treno nella stazione simulata, nel caso il "
                       "campo provenienza sia vuoto questo valore non sar\u00e0 modificabile"},
        {"Ora partenza", "Inserite l'ora di partenza del treno nella stazione simulata, nel caso "
                         "il campo destinazione sia vuoto questo valore non sar\u00e0 "
                         "modificabile"},
        {"Indice ritardo",
         "Indica la probabilit\u00e0 che un treno faccia ritardo\r\n\r\nINSERIAMO:\r\n"
         "0 per un treno che non avr\u00e0 sicuramente ritardo \r\n"
         "1 per un treno con un ritardo dagli 0 ai 5 minuti \r\n"
         "2 per un treno con un ritardo dagli 0 ai 30 minuti \r\n"
         "3 per un treno con un ritardo dagli 0 all'ora e 50 minuti \r\n"
         "4 per un treno con un ritardo dagli 0 alle 3 e 50 minuti"},
        {"Fermate treno",
         "Inserite le eventuali fermate del treno separate da una virgola, nel caso il campo "
         "destinazione sia vuoto questo valore non sar\u00e0 modificabile \r\n\r\nEsempio:\r\n"
         "Rimini,Riccione,Cattolica,Pesaro\r\n\r\nNB: In caso il treno venga modificato, non "
         "rimuovere i caratteri ,. situati dopo l'ultima fermata"},
        {"Indicazioni sussidiarie", "Scegliere l'indicazione sussidiaria del treno simulato"},
        {"Note al treno", "Inserite eventuali informazioni aggiuntive, nel caso non ci siano "
                          "informazioni da inserire lasciate il campo vuoto"},
        {"Numero treni totali", "Questo valore indica il numero totale dei treni simulati"},
        {"Binario", "Selezionare dall'elenco il binario relativo al treno inserito, i binari "
                    "disponibili sono quelli che sono stati precedentemente selezionati, in caso "
                    "la categoria sia AUTOBUS o EUROSTAR LINK questo valore non sar\u00e0 "
                    "selezionabile"},
        {"Posizione treno", "Questo numero indica l'identificativo del treno rispetto al totale "
                            "dei treni simulati, il valore ha il solo scopo orientativo "
                            "all'interno dell'editor"},
    };
    Editor e;
    for (int i = 0; i < 13; ++i) {
        e.editor.help_Click(i);
        ASSERT_EQ(e.ui.messages.size(), static_cast<std::size_t>(i + 1));
        EXPECT_EQ(e.ui.messages[i].title, expected[i].first);
        EXPECT_EQ(e.ui.messages[i].text, expected[i].second);
        EXPECT_EQ(e.ui.messages[i].icon, MessageIcon::Information);
        EXPECT_EQ(e.ui.messages[i].buttons, MessageButtons::Ok);
    }
    e.editor.help_Click(13);
    e.editor.help_Click(-1);
    EXPECT_EQ(e.ui.messages.size(), 13u);
}

} // namespace
} // namespace zeb
