#include "editor/editor_logic.h"

#include "model/value_tables.h"

namespace zeb {

EditorLogic::EditorLogic(Scenario& scenario, EditorUi& ui) : s_(scenario), ui_(ui) {
    categoria.entries = entriesOf(kCategorie);
    ritardo.entries = entriesOf(kRitardi);
    sussi.entries = entriesOf(kSussidiarie);
    Form_Load();
}

void EditorLogic::Form_Load() {
    s_.binari_scelti.fill(false);
    s_.treni[s_.totale_treni].codice_sussidiaria = "0";
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

} // namespace zeb
