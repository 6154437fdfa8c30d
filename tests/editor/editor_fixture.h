#pragma once

#include "controls/fake_ui.h"
#include "editor/editor_commands.h"
#include "editor/editor_logic.h"

#include <stdexcept>
#include <string>

namespace zeb::test {

// What a user types and chooses for one train; lists are chosen by their texts.
struct TrainInput {
    std::string numero{};
    std::string categoria = "Regionale";
    std::string provenienza{};
    std::string destinazione{};
    std::string oraa{}, mina{}, orap{}, minp{};
    std::string ritardo = "0";
    std::string fermate{};
    std::string sussi{};
    std::string note{};
    std::string binario = "1";
};

inline void choose(ListBox& list, const std::string& text) {
    if (!list.selectEntry(text))
        throw std::invalid_argument("no entry " + text);
}

// The command states a user can tell apart, as flags: the scenario commands (new, open, close,
// save, station data), a blank, then the train commands (cover shown, insert shown, insert
// enabled, confirm shown, new, delete, back, forward).
inline std::string states(const EditorLogic& e) {
    std::string out;
    for (bool on : {e.nuovo_scenario.enabled, e.carica_scenario.enabled, e.chiudi.enabled,
                    e.salva.enabled, e.modifica.enabled})
        out += on ? '1' : '0';
    out += ' ';
    for (bool on : {e.copri.visible, e.inseriscitreno.visible, e.inseriscitreno.enabled,
                    e.modificatr.visible, e.nuovotreno.enabled, e.cancellatreno.enabled,
                    e.tprecedente.enabled, e.tsuccessivo.enabled})
        out += on ? '1' : '0';
    return out;
}
inline constexpr const char* kNoScenario = "11000 11000000";
inline constexpr const char* kCovered = "00111 11001010";      // with trains to step back to
inline constexpr const char* kCoveredEmpty = "00111 11001000"; // without

// An editor with an open scenario, station Valmora with the tracks 1, 2 and 1tronco.
struct EditorFixture {
    Scenario s;
    FakeUi ui;
    EditorLogic editor{s, ui};
    EditorCommands commands{editor, ui};

    EditorFixture() {
        ui.station = chooseStation({0, 1, 23});
        editor.nuovo_scenario_Click();
        editor.Timer1_Timer();
    }

    std::string states() const { return test::states(editor); }

    // Fills the fields as a user would, with the ticks of the refresh in between.
    void fill(const TrainInput& in) {
        editor.numero.setText(in.numero);
        choose(editor.categoria, in.categoria);
        editor.provenienza.setText(in.provenienza);
        editor.destinazione.setText(in.destinazione);
        editor.Timer1_Timer();
        if (!in.provenienza.empty()) {
            editor.oraa.setText(in.oraa);
            editor.mina.setText(in.mina);
        }
        if (!in.destinazione.empty()) {
            editor.orap.setText(in.orap);
            editor.minp.setText(in.minp);
            editor.fermate.setText(in.fermate);
        }
        choose(editor.ritardo, in.ritardo);
        if (!in.sussi.empty())
            choose(editor.sussi, in.sussi);
        editor.note.setText(in.note);
        choose(editor.binario, in.binario);
        editor.Timer1_Timer();
    }

    // NUOVO TRENO, the fields, INSERISCI TRENO.
    void insert(const TrainInput& in) {
        editor.nuovotreno_Click();
        editor.Timer1_Timer();
        fill(in);
        editor.inseriscitreno_Click();
        editor.Timer1_Timer();
    }

    // A train from A at 7:0 to B at 7:5.
    static TrainInput numbered(const std::string& numero) {
        TrainInput in{.numero = numero, .provenienza = "A", .destinazione = "B", .oraa = "7"};
        in.mina = "0";
        in.orap = "7";
        in.minp = "5";
        return in;
    }
    // Trains "1" to "count".
    void insertNumbered(int count) {
        for (int i = 1; i <= count; ++i)
            insert(numbered(std::to_string(i)));
    }

    void back() {
        editor.tprecedente_Click();
        editor.Timer1_Timer();
    }
    void forward() {
        editor.tsuccessivo_Click();
        editor.Timer1_Timer();
    }
};

} // namespace zeb::test
