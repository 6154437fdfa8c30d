#include "controls/time_check.h"
#include "editor/editor_logic.h"
#include "model/value_tables.h"

namespace zeb {

// The eight rules, in order, each on the state the previous ones left.
void EditorLogic::Timer1_Timer() {
    // 1. Arrival, driven by the origin.
    if (provenienza.text.empty()) {
        oraa.enabled = mina.enabled = false;
        oraa.setText(kTimePlaceholder);
        mina.setText(kTimePlaceholder);
        salta_timer_1 = false;
    } else if (!salta_timer_1) {
        oraa.enabled = mina.enabled = true;
        oraa.setText("");
        mina.setText("");
        salta_timer_1 = true;
    }

    // 2. Departure and stops, driven by the destination.
    if (destinazione.text.empty()) {
        orap.enabled = minp.enabled = fermate.enabled = false;
        orap.setText(kTimePlaceholder);
        minp.setText(kTimePlaceholder);
        fermate.setText(kTerminaQui);
        salta_timer_2 = false;
    } else if (!salta_timer_2) {
        orap.enabled = minp.enabled = fermate.enabled = true;
        orap.setText("");
        minp.setText("");
        fermate.setText("");
        salta_timer_2 = true;
    }

    // 3. and 4. Range checks, skipped while the hour holds the placeholder.
    if (auto read = emptyOutOfRangeTime(oraa, mina)) {
        oraa1 = read->ora;
        mina1 = read->minuti;
    }
    if (auto read = emptyOutOfRangeTime(orap, minp)) {
        orap1 = read->ora;
        minp1 = read->minuti;
    }

    // 5. and 6. The categories without a track force the bus indication.
    if (isCategoriaSenzaBinario(categoria.text())) {
        binario.enabled = false;
        salta_timer_3 = false;
        sussi.select(kSussiAutobus);
        sussi.enabled = false;
    } else if (!salta_timer_3) {
        binario.enabled = true;
        salta_timer_3 = true;
        sussi.enabled = true;
        sussi.select(0);
    }

    // 7. Insertion gate.
    inseriscitreno.enabled = !numero.text.empty();

    // 8. Position display.
    postreno.setText(s_.treno_attuale != s_.totale_treni ? std::to_string(s_.treno_attuale + 1)
                                                         : std::string());
}

} // namespace zeb
