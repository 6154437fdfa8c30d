#include "editor/editor_fixture.h"
#include "history/change_news.h"
#include "scenario_file/test_files.h"
#include "track_assignment/track_assignment.h"

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

// The step, its undo and its redo each give the scenario back exactly, and each tells the windows
// exactly which rows changed.
TEST_P(UndoRedo, GiveBackTheScenarioExactlyAndCover) {
    insertNumbered(3);
    back(); // a train shown: its derived fields set
    editor.document().takeChange();
    const Snapshot before = snapshot(s);
    GetParam().act(*this);
    const Snapshot after = snapshot(s);
    ASSERT_NE(before, after) << "the step changed something";
    ASSERT_TRUE(commands.canUndo());
    EXPECT_EQ(commands.undoLabel(), GetParam().label);
    auto news = editor.document().takeChange();
    ASSERT_TRUE(news);
    EXPECT_TRUE(test::announcesExactly(std::get<2>(before), std::get<2>(after), *news));
    EXPECT_EQ(news->station, std::get<0>(before) != std::get<0>(after) ||
                                 std::get<1>(before) != std::get<1>(after));

    commands.undo();
    EXPECT_EQ(snapshot(s), before);
    EXPECT_EQ(states(), test::kCovered);
    EXPECT_EQ(editor.numerotrenit.text, std::to_string(s.totale_treni));
    news = editor.document().takeChange();
    ASSERT_TRUE(news);
    EXPECT_TRUE(test::announcesExactly(std::get<2>(after), std::get<2>(before), *news));
    commands.redo();
    EXPECT_EQ(snapshot(s), after);
    EXPECT_EQ(editor.binario.entries.size(), static_cast<std::size_t>(s.numero_binari));
    news = editor.document().takeChange();
    ASSERT_TRUE(news);
    EXPECT_TRUE(test::announcesExactly(std::get<2>(before), std::get<2>(after), *news));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfStep, UndoRedo,
    ::testing::Values(
        Step{"Insertion", [](EditorFixture& f) { f.insert({.numero = "2231"}); },
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
        Step{"Repeat", [](EditorFixture& f) { f.editor.document().repeatTrain(0, 60, 3, 1); },
             "ripetizione treno 1 (3 copie)"},
        Step{"Shift",
             [](EditorFixture& f) {
                 f.editor.document().shiftTimes({0, 2}, 5);
             },
             "spostamento orari di 2 treni"},
        Step{"DeleteSelected",
             [](EditorFixture& f) {
                 f.ui.answers = {Answer::Yes};
                 f.editor.document().removeTrains({0, 2});
             },
             "eliminazione di 2 treni"},
        Step{"MoveInTheChart", [](EditorFixture& f) { f.editor.document().moveTrain(1, "2", -3); },
             "spostamento treno 2 sul binario 2 e di -3 minuti"},
        Step{"Assignment",
             [](EditorFixture& f) {
                 AssignmentOptions options;
                 options.which = TrainsToAssign::InConflict;
                 f.editor.document().assignTracks(assignTracks(f.s, options));
             },
             "assegnazione binari di 1 treno"},
        Step{"GtfsImport",
             [](EditorFixture& f) {
                 f.commands.importGtfs("2024-03-06", {f.s.treni[0], f.s.treni[2]}, nullptr);
             },
             "importazione GTFS di 2 treni"},
        Step{"CsvImport",
             [](EditorFixture& f) {
                 test::TempFolder folder;
                 f.ui.fileNames = {folder.file("treni.csv")};
                 f.commands.exportCsv();
                 f.ui.fileNames = {folder.file("treni.csv")};
                 f.commands.importCsv();
             },
             "importazione di 3 treni"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every change of the editor's data is a step too: undone and redone whole, each named, with
// the trains' own steps around it left as they are.
TEST(History, TheEditorsDataAreUndoneAndRedone) {
    EditorFixture f;
    f.insertNumbered(2);
    const EditorData before = f.editor.document().data();
    const TrackRules rules = {{"", "Nord*", "", RulePassage::Any, -1, -1, {"1"}, {"2"}}};
    const struct {
        std::function<void()> change;
        const char* label;
    } steps[] = {
        {[&] { f.editor.document().setTrackRules(rules); }, "regole dei binari"},
        {[&] { f.editor.document().setCheckSettings({.separation = 7}); },
         "impostazioni dell'orario"},
        {[&] { f.editor.document().setAssignmentLimits(9, 30); },
         "margine e tempo dell'assegnazione"},
    };
    std::vector<EditorData> seen{before};
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(f.commands.undoLabel(), step.label);
        EXPECT_TRUE(f.editor.hasUnsavedChanges());
        ASSERT_TRUE(f.editor.document().takeChange().value_or(ScenarioChange{}).editorData)
            << step.label;
        seen.push_back(f.editor.document().data());
    }
    EXPECT_EQ(seen.back().trackRules, rules);
    for (std::size_t k = seen.size() - 1; k > 0; --k) {
        f.commands.undo();
        EXPECT_EQ(f.editor.document().data(), seen[k - 1]) << k;
    }
    EXPECT_EQ(f.commands.undoLabel(), "inserimento treno 2") << "the trains' steps stay";
    f.commands.redo();
    f.commands.redo();
    EXPECT_EQ(f.editor.document().data(), seen[2]);
    EXPECT_EQ(f.s.totale_treni, 2);
}

// A new change drops the redo; nothing is undone while a new train is entered, and a closed
// scenario leaves no step.
TEST(History, WhatCanBeUndone) {
    EditorFixture f;
    f.insertNumbered(3);
    f.commands.undo();
    EXPECT_EQ(f.commands.redoLabel(), "inserimento treno 3");
    f.insert({.numero = "9"});
    EXPECT_FALSE(f.commands.canRedo());
    f.editor.nuovotreno_Click();
    f.commands.undo();
    EXPECT_EQ(f.s.totale_treni, 3);
    f.editor.cancellatreno_Click(); // abandons the entry
    f.ui.answers = {Answer::Yes};
    f.editor.chiudi_Click();
    EXPECT_FALSE(f.commands.canUndo() || f.commands.canRedo());
}

} // namespace
} // namespace zeb
