#include "editor/editor_fixture.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using test::choose;
using test::EditorFixture;
using test::kCovered;
using test::kCoveredEmpty;
using test::trainSummary;

constexpr const char* kEntry = "00111 01100100";  // a new train being entered
constexpr const char* kFirst = "00111 00111101";  // the first of several trains shown
constexpr const char* kMiddle = "00111 00111111"; // one in between
constexpr const char* kLast = "00111 00111110";   // the last one

class TrainCommands : public ::testing::Test, protected EditorFixture {
protected:
    void deleteShown(Answer answer) {
        ui.answers = {answer};
        editor.cancellatreno_Click();
    }
};

TEST_F(TrainCommands, NewTrainOpensAnEmptyEntryAndANumberAloneIsATrain) {
    editor.numero.setText("stale");
    editor.nuovotreno_Click();
    EXPECT_EQ(states(), kEntry);
    EXPECT_EQ(editor.numero.text + "|" + editor.categoria.text() + "|" + editor.binario.text(),
              "|Autobus|1");
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.inseriscitreno.enabled) << "no number yet";
    editor.numero.setText("88");
    editor.Timer1_Timer();
    editor.inseriscitreno_Click();
    EXPECT_EQ(trainSummary(s.treni[0]),
              "|88|||Autobus/0|--.--|--.--|1|0|Il treno termina nella stazione simulata,.|10/"
              "Autobus (Piazzale Esterno)|");
}

TEST_F(TrainCommands, InsertionAppendsEndsTheStopsAndCovers) {
    insert({.numero = "231",
            .provenienza = "Campolungo",
            .destinazione = "Borgo Alto",
            .oraa = "7",
            .mina = "5",
            .orap = "06",
            .minp = "44",
            .ritardo = "1",
            .fermate = "Rimini,Riccione",
            .sussi = "Sola 2a classe + Cuccette",
            .binario = "1tronco"});
    EXPECT_EQ(std::to_string(s.totale_treni) + std::to_string(s.treno_attuale) + "|" +
                  editor.numerotrenit.text + "|" + editor.postreno.text + "|" + editor.numero.text,
              "11|1||");
    EXPECT_EQ(states(), kCovered);
    EXPECT_EQ(trainSummary(s.treni[0]), "|231|Borgo Alto|Campolungo|Regionale/13|7.5|06.44|"
                                        "1tronco|1|Rimini,Riccione,.|9/Sola 2a classe + Cuccette|");
    insert({.numero = "2", .destinazione = "X"});
    EXPECT_EQ(s.treni[1].fermate, ",.");

    editor.nuovotreno_Click();
    editor.cancellatreno_Click(); // abandons the entry without a question
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(states(), kCovered);
}

TEST_F(TrainCommands, BrowsingShowsEachTrainWithItsPosition) {
    insert({.numero = "1", .destinazione = "Borgo", .orap = "7", .minp = "5"});
    insert({.numero = "2", .provenienza = "Campo", .oraa = "8", .mina = "0"});
    insert({.numero = "3", .provenienza = "A", .destinazione = "B"});
    // After each step: the state, then number, position, arrival, departure, stops as shown.
    const std::pair<void (EditorFixture::*)(), std::string> steps[] = {
        {&EditorFixture::back, "3|3|:|:|,."},
        {&EditorFixture::back, "2|2|8:0|--:--|Il treno termina nella stazione simulata"},
        {&EditorFixture::back, "1|1|--:--|7:5|,."},
        {&EditorFixture::forward, "2|2|8:0|--:--|Il treno termina nella stazione simulata"},
        {&EditorFixture::forward, "3|3|:|:|,."}};
    const char* expectedStates[] = {kLast, kMiddle, kFirst, kMiddle, kLast};
    for (int i = 0; i < 5; ++i) {
        (this->*steps[i].first)();
        const EditorLogic& e = editor;
        EXPECT_EQ(e.numero.text + "|" + e.postreno.text + "|" + e.oraa.text + ":" + e.mina.text +
                      "|" + e.orap.text + ":" + e.minp.text + "|" + e.fermate.text,
                  steps[i].second);
        EXPECT_EQ(states(), expectedStates[i]) << i;
        EXPECT_EQ(e.oraa.enabled, !e.provenienza.text.empty()) << i;
        EXPECT_EQ(e.fermate.enabled, !e.destinazione.text.empty()) << i;
    }
}

// No keeps the train and the fields being changed; Yes takes the first, the last, the only one.
TEST_F(TrainCommands, DeletingAsksFirst) {
    insertNumbered(3);
    for (int i = 0; i < 3; ++i)
        back();
    editor.note.setText("edited");
    deleteShown(Answer::No);
    EXPECT_EQ(s.totale_treni, 3);
    EXPECT_EQ(editor.numero.text + "|" + editor.note.text + "|" + states(),
              std::string("1|edited|") + kFirst);
    editor.modificatr_Click();
    EXPECT_EQ(s.treni[0].numero, "1") << "confirming after No stores no empty fields";
    back();
    back();
    back();
    deleteShown(Answer::Yes);
    EXPECT_EQ(ui.messages.back().described(),
              "Conferma eliminazione treno: Eliminare questo treno? [2 1]");
    EXPECT_EQ(s.treni[0].numero + s.treni[1].numero + "|" + std::to_string(s.treno_attuale) + "|" +
                  editor.numerotrenit.text + "|" + states(),
              "23|2|2|" + std::string(kCovered));
    back(); // the last one
    deleteShown(Answer::Yes);
    EXPECT_EQ(s.treni[0].numero + "|" + std::to_string(s.totale_treni), "2|1");
    back();
    deleteShown(Answer::Yes);
    EXPECT_EQ(editor.numerotrenit.text + "|" + states(), "0|" + std::string(kCoveredEmpty));
}

TEST_F(TrainCommands, AFullTableTakesNoFurtherTrain) {
    for (int i = 0; i < kMaxTrains - 1; ++i)
        s.treni[i].numero = std::to_string(i + 1);
    s.totale_treni = s.treno_attuale = kMaxTrains - 1;
    insert({.numero = "2001"});
    EXPECT_EQ(s.totale_treni, kMaxTrains);
    EXPECT_FALSE(editor.nuovotreno.enabled);
    editor.nuovotreno_Click(); // even if it were pressed
    EXPECT_EQ(s.treno_attuale, kMaxTrains);

    s.treni[kMaxTrains].numero = "past the table";
    back();
    back();
    deleteShown(Answer::Yes);
    EXPECT_EQ(s.treni[1998].numero + "|" + s.treni[1999].numero, "1999|2001");
    EXPECT_EQ(s.treni[2000], Treno{}) << "the freed place is emptied, nothing is copied into it";
    EXPECT_TRUE(editor.nuovotreno.enabled);
}

TEST_F(TrainCommands, ChangingTheStationKeepsTheShownTrack) {
    insert({.numero = "1", .binario = "1tronco"});
    back();
    ui.station = test::chooseStation({4}); // adds track 5 before the stub track
    editor.modifica_Click();
    EXPECT_EQ(editor.binario.text(), "1tronco");
}

// A train without a track of the station (none at all, as feeds and spreadsheets bring them by
// the thousand, or one the station lacks) shows none chosen after a train with one, never that
// train's, and confirming another change keeps the track it has.
TEST_F(TrainCommands, ATrainWithoutATrackOfTheStationKeepsItsOwn) {
    insertNumbered(2);
    for (const std::string stored : {"", "7"}) {
        s.treni[0].binario = stored;
        editor.showTrain(1);
        EXPECT_EQ(editor.binario.text(), "1");
        editor.showTrain(0);
        editor.Timer1_Timer();
        EXPECT_EQ(editor.binario.selected, -1);
        editor.note.setText("x" + stored);
        editor.modificatr_Click();
        EXPECT_EQ(s.treni[0].binario + "|" + s.treni[0].note, stored + "|x" + stored);
    }
}

// Ctrl+Z with changes typed into a shown train puts the train back as stored and nothing else;
// only the next one undoes the history.
TEST_F(TrainCommands, UndoFirstTakesBackWhatIsTyped) {
    insertNumbered(2);
    editor.showTrain(0);
    EXPECT_FALSE(editor.hasUnconfirmedChanges());
    editor.note.setText("nuova");
    choose(editor.binario, "2");
    ASSERT_TRUE(editor.hasUnconfirmedChanges());
    EXPECT_EQ(commands.undoLabel(), "modifiche al treno 1");
    commands.undo();
    EXPECT_EQ(editor.note.text + "|" + editor.binario.text(), "|1");
    EXPECT_EQ(s.totale_treni, 2) << "the history is as it was";
    EXPECT_EQ(commands.undoLabel(), "inserimento treno 2");
    commands.undo();
    EXPECT_EQ(s.totale_treni, 1);

    // A bus stored with another indication shows the one the refresh forces: no change of the
    // user's, and Annulla goes on to the history.
    Treno& bus = s.treni[0];
    bus.categoria = "Autobus";
    bus.indice_categoria = bus.codice_sussidiaria = "0";
    editor.showTrain(0);
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.hasUnconfirmedChanges());
}

TEST_F(TrainCommands, AJumpShowsATrainAsTheStepButtonsWould) {
    insertNumbered(3);
    const char* expected[] = {kFirst, kMiddle, kLast};
    for (int index : {1, 0, 2}) {
        editor.showTrain(index);
        editor.Timer1_Timer();
        EXPECT_EQ(states(), expected[index]) << index;
        EXPECT_EQ(editor.numero.text + "|" + std::to_string(s.treno_attuale),
                  std::to_string(index + 1) + "|" + std::to_string(index));
    }
    back();
    EXPECT_EQ(editor.numero.text, "2") << "the step buttons go on from there";

    editor.nuovotreno_Click();
    EXPECT_FALSE(editor.canShowTrain()) << "not while a new train is entered";
    editor.showTrain(0);
    EXPECT_EQ(states(), kEntry);
}

TEST_F(TrainCommands, ChangesToManyTrainsEndCovered) {
    insert(numbered("10"));
    insert({.numero = "20", .provenienza = "A", .oraa = "99"}); // emptied by the refresh
    back();
    editor.document().repeatTrain(0, 30, 3, 10);
    EXPECT_EQ(states(), kCovered);
    EXPECT_EQ(editor.numerotrenit.text, "5");
    EXPECT_EQ(s.treni[4].numero + " " + s.treni[4].ora_partenza + ":" + s.treni[4].min_partenza,
              "40 08:35");

    editor.document().shiftTimes({0, 1}, -5);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].described(), "Sposta orari: Alcuni orari non sono validi e sono "
                                          "rimasti come erano, nei treni 2 (20) [1 0]");
    EXPECT_EQ(s.treni[0].ora_arrivo + ":" + s.treni[0].min_arrivo, "06:55");

    editor.document().removeTrains({2, 3}); // answered No
    EXPECT_EQ(s.totale_treni, 5);
    ui.answers = {Answer::Yes};
    editor.document().removeTrains({2, 3});
    EXPECT_EQ(ui.messages.back().text, "Eliminare 2 treni (20, 30)?");
    EXPECT_EQ(s.treni[2].numero + " " + editor.numerotrenit.text, "40 3");

    editor.nuovotreno_Click(); // not while a new train is entered
    editor.document().repeatTrain(0, 30, 3, 10);
    EXPECT_EQ(s.totale_treni, 3);
}

// Only what changes the scenario is news for the windows, and a new scenario replaces everything.
// (What each change announces is checked with every kind of step in the undo tests.)
TEST_F(TrainCommands, OnlyChangesAreNews) {
    EXPECT_EQ(editor.document().takeChange(),
              ScenarioChange({.runs = {}, .station = true, .replaced = true}));
    insertNumbered(2);
    editor.document().takeChange();
    back();
    EXPECT_EQ(editor.document().takeChange(), std::nullopt) << "showing a train changes nothing";
    editor.modificatr_Click();
    EXPECT_EQ(editor.document().takeChange(), std::nullopt)
        << "confirming the same fields changes nothing";
    editor.showTrain(0);
    deleteShown(Answer::No);
    EXPECT_EQ(editor.document().takeChange(), std::nullopt);
    deleteShown(Answer::Yes);
    EXPECT_EQ(editor.document().takeChange(), ScenarioChange({.runs = {{0, 1, 0}}}));
}

} // namespace
} // namespace zeb
