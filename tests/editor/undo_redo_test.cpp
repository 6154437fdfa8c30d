#include "editor/editor_fixture.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace zeb {
namespace {

using test::EditorFixture;

// Everything a step may change: the station with its count, its tracks and every stored record.
using Snapshot = std::tuple<std::string, std::array<bool, kTrackSlots>, std::vector<Treno>>;

Snapshot snapshot(const Scenario& s) {
    const std::string summary = test::summary(s);
    return {summary.substr(0, summary.find('\n')), s.binari_scelti,
            std::vector<Treno>(s.treni.begin(), s.treni.begin() + s.totale_treni)};
}

struct Step {
    const char* name;
    std::function<void(EditorFixture&)> act;
    std::string label;
};

void PrintTo(const Step& step, std::ostream* out) {
    *out << step.name;
}

class UndoRedo : public ::testing::TestWithParam<Step>, protected EditorFixture {};

TEST_P(UndoRedo, GiveBackTheScenarioExactlyAndCover) {
    insertNumbered(3);
    back(); // a train shown: its derived fields set
    const Snapshot before = snapshot(s);
    GetParam().act(*this);
    const Snapshot after = snapshot(s);
    ASSERT_FALSE(before == after) << "the step changed something";
    ASSERT_TRUE(editor.canUndo());
    EXPECT_EQ(editor.undoLabel(), GetParam().label);

    editor.annulla_Click();
    EXPECT_TRUE(snapshot(s) == before);
    EXPECT_EQ(states(), test::kCovered);
    EXPECT_EQ(editor.numerotrenit.text, std::to_string(s.totale_treni));
    editor.ripeti_Click();
    EXPECT_TRUE(snapshot(s) == after);
    EXPECT_EQ(editor.binario.entries.size(), static_cast<std::size_t>(s.numero_binari));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfStep, UndoRedo,
    ::testing::Values(Step{"Insertion", [](EditorFixture& f) { f.insert({.numero = "2231"}); },
                           "inserimento treno 2231"},
                      Step{"Modification",
                           [](EditorFixture& f) {
                               f.editor.note.setText("nuova");
                               f.editor.modificatr_Click();
                           },
                           "modifica treno 3"},
                      Step{"Deletion",
                           [](EditorFixture& f) {
                               f.ui.answers = {Answer::Yes};
                               f.editor.cancellatreno_Click();
                           },
                           "eliminazione treno 3"},
                      Step{"StationData",
                           [](EditorFixture& f) {
                               f.ui.station = test::chooseStation({5, 23}, "Altrove");
                               f.editor.modifica_Click();
                           },
                           "modifica dati stazione"},
                      Step{"Repeat", [](EditorFixture& f) { f.editor.ripetiTreno(0, 60, 3, 1); },
                           "ripetizione treno 1 (3 copie)"},
                      Step{"Shift",
                           [](EditorFixture& f) {
                               f.editor.spostaOrari({0, 2}, 5);
                           },
                           "spostamento orari di 2 treni"},
                      Step{"DeleteSelected",
                           [](EditorFixture& f) {
                               f.ui.answers = {Answer::Yes};
                               f.editor.eliminaTreni({0, 2});
                           },
                           "eliminazione di 2 treni"}),
    [](const auto& info) { return std::string(info.param.name); });

// A new change drops the redo; nothing is undone while a new train is entered, and a closed
// scenario leaves no step.
TEST(History, WhatCanBeUndone) {
    EditorFixture f;
    f.insertNumbered(3);
    f.editor.annulla_Click();
    EXPECT_EQ(f.editor.redoLabel(), "inserimento treno 3");
    f.insert({.numero = "9"});
    EXPECT_FALSE(f.editor.canRedo());
    f.editor.nuovotreno_Click();
    f.editor.annulla_Click();
    EXPECT_EQ(f.s.totale_treni, 3);
    f.editor.cancellatreno_Click(); // abandons the entry
    f.ui.answers = {Answer::Yes};
    f.editor.chiudi_Click();
    EXPECT_FALSE(f.editor.canUndo() || f.editor.canRedo());
}

// Past the steps or the bytes allowed the oldest steps go, and the latest always stays.
TEST(History, TheOldestStepsGo) {
    for (const auto& [steps, bytes] : {std::pair<std::size_t, std::size_t>{2, 1u << 30},
                                       std::pair<std::size_t, std::size_t>{200, 7000}}) {
        History history(steps, bytes);
        Scenario s = test::exampleScenario();
        history.reset(s);
        for (const char* number : {"a", "b", "c"}) {
            s.treni[0].numero = number;
            s.treni[0].note.assign(1000, *number); // two records of 1 KB a step
            history.record(s, number);
            EXPECT_LE(history.memoryBytes(), std::min<std::size_t>(bytes, 7000));
        }
        EXPECT_TRUE(history.undo(s) && history.undo(s) && !history.undo(s));
        EXPECT_EQ(s.treni[0].numero, "a");
    }
    History tiny(200, 10);
    Scenario s = test::exampleScenario();
    tiny.reset(s);
    s.treni[0].numero = "x";
    tiny.record(s, "x");
    EXPECT_TRUE(tiny.canUndo()) << "the latest step stays however large";
}

} // namespace
} // namespace zeb
