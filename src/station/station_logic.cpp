#include "station/station_logic.h"

#include "controls/time_check.h"
#include "model/track_slots.h"

namespace zeb {

StationLogic::StationLogic(Scenario& scenario, ListBox& editorTrackList, MessageUi& ui)
    : s_(scenario), editorTrackList_(editorTrackList), ui_(ui) {}

void StationLogic::Form_Load() {
    for (int slot = 0; slot < kTrackSlots; ++slot)
        binario[slot].checked = s_.binari_scelti[slot];
    nbinari.setText(std::to_string(s_.conta_binari));
    textstazione.setText(s_.nome_stazione);
    orap.setText(s_.ora_inizio);
    minp.setText(s_.min_inizio);
}

void StationLogic::binario_Click(int slot) {
    if (binario[slot].checked) {
        ++s_.conta_binari;
        s_.binari_scelti[slot] = true;
    } else {
        --s_.conta_binari;
        s_.binari_scelti[slot] = false;
    }
    if (s_.conta_binari > kMaxChosenTracks) {
        if (binario[slot].checked) {
            binario[slot].checked = false;
            binario_Click(slot);
        }
        ui_.showMessage("Il numero massimo di binari selezionabili è 23", "Attenzione!",
                        MessageIcon::Exclamation, MessageButtons::Ok);
    }
    nbinari.setText(std::to_string(s_.conta_binari));
}

void StationLogic::Timer2_Timer() {
    emptyOutOfRangeTime(orap, minp);
}

bool StationLogic::ok_Click() {
    if (s_.conta_binari == 0) {
        ui_.showMessage("Devi selezionare almeno un binario per proseguire", "Attenzione!",
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    s_.nome_stazione = textstazione.text;
    s_.ora_inizio = orap.text;
    s_.min_inizio = minp.text;
    return true;
}

void StationLogic::Form_Unload() {
    editorTrackList_.entries = rebuildTrackTable(s_);
    editorTrackList_.selected = -1;
}

} // namespace zeb
