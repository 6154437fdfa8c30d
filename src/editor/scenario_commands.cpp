#include "editor/editor_logic.h"
#include "editor/field_help.h"

namespace zeb {

void EditorLogic::enableScenarioCommands() {
    modifica.enabled = true;
    nuovotreno.enabled = !s_.isFull();
    tprecedente.enabled = false;
    tsuccessivo.enabled = false;
    nuovo_scenario.enabled = false;
    carica_scenario.enabled = false;
    chiudi.enabled = true;
    salva.enabled = true;
    copri.visible = true;
}

void EditorLogic::nuovo_scenario_Click() {
    ui_.openStationDialog(s_, binario);
    // Whatever way the dialog was closed, the scenario is now open.
    enableScenarioCommands();
    document_.replaced();
    document_.setUnsaved(true); // a new scenario has never been saved
}

bool EditorLogic::confirmClosing() {
    return ui_.showMessage("Chiudere questo scenario? Le modifihe se non salvate andranno perse!",
                           "Chiusura dello scenario", MessageIcon::Question,
                           MessageButtons::YesNoDefaultNo) == Answer::Yes;
}

void EditorLogic::chiudi_Click() {
    if (confirmClosing())
        closeScenario();
}

void EditorLogic::closeScenario() {
    s_.nome_stazione.clear();
    s_.ora_inizio.clear();
    s_.min_inizio.clear();
    s_.totale_treni = 0;
    s_.treno_attuale = 0;
    s_.numero_binari = 0;
    s_.nome_file.clear();
    Cancella();
    Form_Load();
    s_.conta_binari = 0;

    enterCoveredState(); // with no trains: nothing to step to
    nuovotreno.enabled = false;
    nuovo_scenario.enabled = true;
    carica_scenario.enabled = true;
    chiudi.enabled = false;
    salva.enabled = false;
    modifica.enabled = false;
    numerotrenit.setText("0");
    document_.replaced();
}

void EditorLogic::contributo_Click() {
    ui_.openContributionWindow();
}

void EditorLogic::help_Click(int index) {
    if (auto entry = fieldHelp(index))
        ui_.showMessage(entry->message, entry->title, MessageIcon::Information, MessageButtons::Ok);
}

bool EditorLogic::closeRequested() {
    if (!hasUnsavedChanges())
        return true;
    switch (ui_.showMessage("Lo scenario ha modifiche non salvate. Salvarle prima di chiudere?",
                            "Chiusura di Zebrano", MessageIcon::Question,
                            MessageButtons::SaveDiscardCancel)) {
    case Answer::Save:
        salva_Click(); // a cancelled or failed save keeps the window open
        return !hasUnsavedChanges();
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace zeb
