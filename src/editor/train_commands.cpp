#include "editor/editor_logic.h"
#include "model/conversions.h"
#include "model/train_removal.h"
#include "model/value_tables.h"

#include <algorithm>

namespace zeb {

void EditorLogic::enterCoveredState() {
    copri.visible = true;
    nuovotreno.enabled = !s_.isFull(); // a full table has no slot for another train
    cancellatreno.enabled = false;
    inseriscitreno.visible = true;
    inseriscitreno.enabled = false;
    modificatr.visible = false;
    tprecedente.enabled = s_.totale_treni != 0;
    tsuccessivo.enabled = false;
}

void EditorLogic::nuovotreno_Click() {
    if (s_.isFull())
        return;
    s_.treno_attuale = s_.totale_treni;
    modificatr.visible = false;
    inseriscitreno.enabled = true;
    inseriscitreno.visible = true;
    nuovotreno.enabled = false;
    tprecedente.enabled = false;
    tsuccessivo.enabled = false;
    cancellatreno.enabled = true; // here it abandons the entry
    copri.visible = false;
    Cancella();
}

void EditorLogic::storeFields(int index, bool endStops) {
    Treno& t = s_.treni[index];
    t.numero = numero.text;
    t.categoria = categoria.text();
    s_.treno_in_uso = index;
    Categoria_Combo(s_);
    t.provenienza = provenienza.text;
    t.destinazione = destinazione.text;
    t.ora_arrivo = oraa.text;
    t.min_arrivo = mina.text;
    t.ora_partenza = orap.text;
    t.min_partenza = minp.text;
    t.ritardo = ritardo.text();
    t.fermate = endStops ? fermate.text + std::string(kFineFermate) : fermate.text;
    t.sussidiaria = sussi.text();
    Sussi_Combo(s_);
    t.note = note.text;
    // With no track chosen a train keeps the one it has: none for a new one.
    if (binario.selected >= 0 || index == s_.totale_treni)
        t.binario = binario.text();
}

void EditorLogic::inseriscitreno_Click() {
    if (s_.isFull())
        return;
    const int n = s_.totale_treni;
    storeFields(n, true);
    Cancella();
    s_.totale_treni = n + 1;
    s_.treno_attuale = n + 1;
    numerotrenit.setText(std::to_string(s_.totale_treni));
    enterCoveredState();
    commit("inserimento treno " + s_.treni[n].numero);
}

void EditorLogic::modificatr_Click() {
    const int index = s_.treno_attuale;
    storeFields(index, false);
    Cancella();
    s_.treno_attuale = s_.totale_treni;
    enterCoveredState();
    commit("modifica treno " + s_.treni[index].numero);
}

void EditorLogic::cancellatreno_Click() {
    if (s_.treno_attuale == s_.totale_treni) { // abandoning the entry of a new train
        Cancella();
        enterCoveredState();
        return;
    }
    // The question comes before the fields are emptied, so that No leaves the shown train's
    // fields in place and a following CONFERMA MODIFICHE cannot store empty fields over it.
    if (ui_.showMessage("Eliminare questo treno?", "Conferma eliminazione treno",
                        MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes)
        return;
    Cancella();
    const int index = s_.treno_attuale;
    const std::string numero = s_.treni[index].numero;
    removeTrain(s_, index);
    s_.treno_attuale = s_.totale_treni;
    numerotrenit.setText(std::to_string(s_.totale_treni));
    enterCoveredState();
    commit("eliminazione treno " + numero);
}

void EditorLogic::modifica_Click() {
    const std::string shownTrack = binario.text();
    ui_.openStationDialog(s_, binario);
    commit("modifica dati stazione");
    // The rebuilt list has no selection; the track shown before is chosen again if the
    // station still has it, so that storing the fields does not store an empty track.
    if (!shownTrack.empty())
        binario.selectEntry(shownTrack);
}

} // namespace zeb
