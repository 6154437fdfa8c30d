#pragma once

#include "controls/fake_ui.h"
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

// An editor with an open scenario, station Valmora with the tracks 1, 2 and 1tronco.
struct EditorFixture {
    Scenario s;
    FakeUi ui;
    EditorLogic editor{s, ui};

    EditorFixture() {
        ui.station = chooseStation({0, 1, 23});
        editor.nuovo_scenario_Click();
        editor.Timer1_Timer();
    }

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

    void insertNumbered(int count) {
        for (int i = 1; i <= count; ++i)
            insert({.numero = std::to_string(i), .provenienza = "A", .destinazione = "B"});
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
