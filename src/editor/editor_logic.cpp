#include "editor/editor_logic.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/scenario_file_error.h"

namespace zeb {

EditorLogic::EditorLogic(Scenario& scenario, EditorUi& ui)
    : s_(scenario), ui_(ui), document_(scenario, ui) {
    document_.mayChange = [this] { return canShowTrain(); };
    document_.isOpen = [this] { return scenarioOpen(); };
    document_.afterTrainsChanged = [this] { afterManyTrainsChanged(); };
    document_.afterLinksChanged = [this] { enterCoveredState(); };
    document_.afterStationTaken = [this] { ui_.openStationDialog(s_, binario); };
    categoria.entries = entriesOf(kCategorie);
    ritardo.entries = entriesOf(kRitardi);
    sussi.entries = entriesOf(kSussidiarie);
    Form_Load();
}

void EditorLogic::Form_Load() {
    s_.binari_scelti.fill(false);
// GCC 12 at -O2 and above reports a -Wrestrict overlap inside the inlined assignment of a
// string literal to a std::string (GCC bug 105651): a false positive in the library's code.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    s_.treni[s_.totale_treni].codice_sussidiaria = "0";
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic pop
#endif
    inseriscitreno.visible = true;
    modificatr.visible = false;
    cancellatreno.enabled = false;
}

void EditorLogic::Cancella() {
    numero.setText("");
    categoria.select(0);
    for (TextBox* box : {&provenienza, &destinazione, &oraa, &mina, &orap, &minp})
        box->setText("");
    ritardo.select(0);
    fermate.setText("");
    sussi.select(0);
    note.setText("");
    binario.select(0);
}

void EditorLogic::afterManyTrainsChanged() {
    s_.treno_attuale = s_.totale_treni;
    numerotrenit.setText(std::to_string(s_.totale_treni));
    binario.entries = stationTrackNames(s_);
    Cancella();
    enterCoveredState();
}

std::array<const std::string*, 9> EditorLogic::fieldTexts() const {
    return {&numero.text, &provenienza.text, &destinazione.text, &oraa.text, &mina.text,
            &orap.text,   &minp.text,        &fermate.text,      &note.text};
}

std::array<int, 4> EditorLogic::fieldChoices() const {
    return {categoria.selected, ritardo.selected, sussi.selected, binario.selected};
}

EditorLogic::ShownFields EditorLogic::fieldsNow() const {
    ShownFields fields{{}, fieldChoices()};
    const auto texts = fieldTexts();
    for (std::size_t k = 0; k < texts.size(); ++k)
        fields.texts[k] = *texts[k];
    return fields;
}

bool EditorLogic::hasUnconfirmedChanges() const {
    // Viewing a stored train, not entering a new one; compared without copying a text.
    if (copri.visible || !modificatr.visible || s_.treno_attuale >= s_.totale_treni)
        return false;
    const auto texts = fieldTexts();
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (*texts[k] != shown_.texts[k])
            return true;
    }
    return shown_.choices != fieldChoices();
}

bool EditorLogic::dropUnconfirmedChanges() {
    if (!hasUnconfirmedChanges())
        return false;
    showRecord();
    return true;
}

} // namespace zeb
