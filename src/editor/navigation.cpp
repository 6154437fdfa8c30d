#include "controls/time_check.h"
#include "editor/editor_logic.h"
#include "model/conversions.h"
#include "model/track_slots.h"
#include "model/value_tables.h"

namespace zeb {

void EditorLogic::tprecedente_Click() {
    cancellatreno.enabled = true;
    inseriscitreno.visible = false;
    modificatr.visible = true;
    copri.visible = false;
    if (s_.treno_attuale == s_.totale_treni - 1)
        tsuccessivo.enabled = true;
    s_.treno_attuale -= 1;
    showRecord();
    if (s_.treno_attuale == 0)
        tprecedente.enabled = false;
}

void EditorLogic::tsuccessivo_Click() {
    cancellatreno.enabled = true;
    if (s_.treno_attuale + 1 == s_.totale_treni - 1)
        tsuccessivo.enabled = false;
    tprecedente.enabled = true;
    s_.treno_attuale += 1;
    showRecord();
}

bool EditorLogic::canShowTrain() const {
    const bool enteringNewTrain = inseriscitreno.visible && !copri.visible;
    return scenarioOpen() && !enteringNewTrain;
}

void EditorLogic::showTrain(int index) {
    if (!canShowTrain() || index < 0 || index >= s_.totale_treni)
        return;
    cancellatreno.enabled = true;
    inseriscitreno.visible = false;
    modificatr.visible = true;
    copri.visible = false;
    s_.treno_attuale = index;
    showRecord();
    tprecedente.enabled = index > 0;
    tsuccessivo.enabled = index < s_.totale_treni - 1;
}

namespace {

// A stored position the list does not have leaves the list as it was.
void selectStored(ListBox& list, const std::string& position) {
    if (auto p = listPosition(position, static_cast<int>(list.entries.size())))
        list.select(*p);
}

} // namespace

void EditorLogic::showRecord() {
    Timer1 = false;
    Treno& t = s_.treni[s_.treno_attuale];
    numero.setText(t.numero);
    selectStored(categoria, t.indice_categoria);
    provenienza.setText(t.provenienza);
    destinazione.setText(t.destinazione);
    oraa.setText(t.ora_arrivo);
    mina.setText(t.min_arrivo);
    orap.setText(t.ora_partenza);
    minp.setText(t.min_partenza);
    selectStored(ritardo, t.ritardo);
    fermate.setText(t.fermate);
    selectStored(sussi, t.codice_sussidiaria);
    note.setText(t.note);

    showTrackAndStates(t);
    shown_ = fieldsNow();
    Timer1 = true;
}

void EditorLogic::showTrackAndStates(const Treno& t) {
    Binario_Combo(s_);
    history_.absorbDerived(s_, s_.treno_attuale);
    // A train without a track of the station shows none chosen, never the track of the train
    // shown before it; confirming keeps the track it has.
    if (hasStationTrack(s_, t.binario) && !t.indice_binario.empty())
        selectStored(binario, t.indice_binario);
    else
        binario.select(-1);

    salta_timer_1 = true;
    salta_timer_2 = true;
    const bool noOrigin = provenienza.text.empty();
    oraa.enabled = mina.enabled = !noOrigin;
    if (noOrigin) {
        oraa.setText(kTimePlaceholder);
        mina.setText(kTimePlaceholder);
    }
    if (!destinazione.text.empty()) {
        orap.enabled = minp.enabled = true;
    } else {
        orap.enabled = minp.enabled = false;
        orap.setText(kTimePlaceholder);
        minp.setText(kTimePlaceholder);
        fermate.setText(kTerminaQui);
    }
    if (fermate.text != kTerminaQui)
        fermate.enabled = true;
    // A train of a category with a track keeps the indication just shown: the periodic refresh
    // would otherwise take it for a category newly chosen after a bus and reset it to "Nessuna",
    // and a confirmation would then store that without a word.
    // A bus shows the indication the refresh forces on it at once, so that it is no change of the
    // user's to be taken back.
    if (!isCategoriaSenzaBinario(categoria.text())) {
        binario.enabled = true;
        sussi.enabled = true;
        salta_timer_3 = true;
    } else {
        sussi.select(kSussiAutobus);
    }
}

} // namespace zeb
