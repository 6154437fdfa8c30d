#include "editor/editor_logic.h"
#include "editor/time_check.h"
#include "model/value_tables.h"

namespace zeb {

namespace {

constexpr std::string_view kPlaceholder = "----"; // the two-character boxes show "--"

// Copies hour and minute, then empties each box whose copy is out of range. Nothing is checked
// while the hour box holds the placeholder, not even the minute.
void checkTimeRange(TextBox& ora, TextBox& minuti, std::string& oraCopy, std::string& minutiCopy) {
    if (ora.text == "--")
        return;
    oraCopy = ora.text;
    minutiCopy = minuti.text;
    if (isTimeOutOfRange(oraCopy, 23))
        ora.setText("");
    if (isTimeOutOfRange(minutiCopy, 59))
        minuti.setText("");
}

} // namespace

// The eight rules, in order, each on the state the previous ones left.
void EditorLogic::Timer1_Timer() {
    // 1. Arrival, driven by the origin.
    if (provenienza.text.empty()) {
        oraa.enabled = mina.enabled = false;
        oraa.setText(kPlaceholder);
        mina.setText(kPlaceholder);
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
        orap.setText(kPlaceholder);
        minp.setText(kPlaceholder);
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
    checkTimeRange(oraa, mina, oraa1, mina1);
    checkTimeRange(orap, minp, orap1, minp1);

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
