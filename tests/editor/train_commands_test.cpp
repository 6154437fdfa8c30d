#include "editor/editor_fixture.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using test::choose;
using test::EditorFixture;
using test::TrainInput;

class TrainCommands : public ::testing::Test, protected EditorFixture {
protected:
    // The train buttons: copri shown, insert shown, insert enabled (the refresh enables it
    // while a number is shown, even hidden), confirm shown, new, delete, back, forward.
    std::string buttons() {
        auto flag = [](bool on) { return on ? '1' : '0'; };
        const EditorLogic& e = editor;
        return {flag(e.copri.visible),          flag(e.inseriscitreno.visible),
                flag(e.inseriscitreno.enabled), flag(e.modificatr.visible),
                flag(e.nuovotreno.enabled),     flag(e.cancellatreno.enabled),
                flag(e.tprecedente.enabled),    flag(e.tsuccessivo.enabled)};
    }
    static constexpr const char* kCovered = "11001010";
    static constexpr const char* kCoveredEmpty = "11001000";
};

TEST_F(TrainCommands, NewTrainOpensAnEmptyEntry) {
    EXPECT_EQ(buttons(), kCoveredEmpty);
    editor.numero.setText("stale");
    editor.nuovotreno_Click();
    EXPECT_EQ(buttons(), "01100100");
    EXPECT_EQ(editor.numero.text, "");
    EXPECT_EQ(editor.categoria.text(), "Autobus");
    EXPECT_EQ(editor.binario.text(), "1");
    editor.Timer1_Timer();
    EXPECT_FALSE(editor.inseriscitreno.enabled) << "no number yet";
    EXPECT_EQ(editor.sussi.text(), "Autobus (Piazzale Esterno)");
}

TEST_F(TrainCommands, ATrainWithOnlyANumber) {
    editor.nuovotreno_Click();
    editor.Timer1_Timer();
    editor.numero.setText("88");
    editor.Timer1_Timer();
    editor.inseriscitreno_Click();
    const Treno& t = s.treni[0];
    EXPECT_EQ(t.categoria, "Autobus");
    EXPECT_EQ(t.indice_categoria, "0");
    EXPECT_EQ(t.provenienza, "");
    EXPECT_EQ(t.ritardo, "0");
    EXPECT_EQ(t.fermate, "Il treno termina nella stazione simulata,.");
    EXPECT_EQ(t.sussidiaria, "Autobus (Piazzale Esterno)");
    EXPECT_EQ(t.codice_sussidiaria, "10");
    EXPECT_EQ(t.binario, "1");
    EXPECT_EQ(t.ora_arrivo + t.min_arrivo + t.ora_partenza + t.min_partenza, "--------");
}

TEST_F(TrainCommands, InsertionAppendsAndCovers) {
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
    EXPECT_EQ(s.totale_treni, 1);
    EXPECT_EQ(s.treno_attuale, 1);
    EXPECT_EQ(editor.numerotrenit.text, "1");
    EXPECT_EQ(editor.postreno.text, "");
    EXPECT_EQ(buttons(), kCovered);
    EXPECT_EQ(editor.numero.text, "");
    const Treno& t = s.treni[0];
    EXPECT_EQ(t.fermate, "Rimini,Riccione,.");
    EXPECT_EQ(t.indice_categoria, "13");
    EXPECT_EQ(t.codice_sussidiaria, "9");
    EXPECT_EQ(t.ora_arrivo + ":" + t.min_arrivo, "7:5");
    EXPECT_EQ(t.binario, "1tronco");

    insert({.numero = "2", .destinazione = "X"});
    EXPECT_EQ(s.treni[1].fermate, ",.");
}

TEST_F(TrainCommands, BrowsingThreeTrains) {
    insertNumbered(3);
    back();
    EXPECT_EQ(s.treno_attuale, 2);
    EXPECT_EQ(editor.postreno.text, "3");
    EXPECT_EQ(editor.numero.text, "3");
    EXPECT_EQ(buttons(), "00111110");
    back();
    EXPECT_EQ(editor.numero.text, "2");
    EXPECT_EQ(buttons(), "00111111");
    back();
    EXPECT_EQ(editor.postreno.text, "1");
    EXPECT_EQ(buttons(), "00111101");
    forward();
    EXPECT_EQ(editor.numero.text, "2");
    EXPECT_EQ(buttons(), "00111111");
    forward();
    EXPECT_EQ(editor.numero.text, "3");
    EXPECT_EQ(buttons(), "00111110");
    EXPECT_TRUE(editor.Timer1);
}

TEST_F(TrainCommands, TheDisplayOfTrainsThatStartOrEndHere) {
    insert({.numero = "1", .destinazione = "Borgo", .orap = "7", .minp = "5"});
    insert({.numero = "2", .provenienza = "Campo", .oraa = "8", .mina = "0"});
    back();
    EXPECT_FALSE(editor.orap.enabled);
    EXPECT_EQ(editor.orap.text, "--");
    EXPECT_EQ(editor.fermate.text, "Il treno termina nella stazione simulata");
    EXPECT_EQ(editor.oraa.text, "8");
    EXPECT_TRUE(editor.oraa.enabled);
    back();
    EXPECT_FALSE(editor.oraa.enabled || editor.mina.enabled);
    EXPECT_EQ(editor.mina.text, "--");
    EXPECT_EQ(editor.orap.text + ":" + editor.minp.text, "7:5");
    EXPECT_EQ(editor.fermate.text, ",.");
    EXPECT_TRUE(editor.fermate.enabled);
}

TEST_F(TrainCommands, ConfirmingAChangeStoresTheFieldsAsShown) {
    insertNumbered(3);
    back();
    back();
    editor.numero.setText("20");
    editor.fermate.setText("Pieve");
    editor.modificatr_Click();
    EXPECT_EQ(s.treni[1].numero, "20");
    EXPECT_EQ(s.treni[1].fermate, "Pieve") << "no terminator is added";
    EXPECT_EQ(s.totale_treni, 3);
    EXPECT_EQ(s.treno_attuale, 3);
    EXPECT_EQ(buttons(), kCovered);
    EXPECT_EQ(editor.numero.text, "");
}

TEST_F(TrainCommands, DeletingTheFirstTheLastAndTheOnlyTrain) {
    insertNumbered(3);
    back();
    back();
    back();
    ui.answers = {Answer::Yes};
    editor.cancellatreno_Click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Eliminare questo treno?");
    EXPECT_EQ(ui.messages[0].title, "Conferma eliminazione treno");
    EXPECT_EQ(s.totale_treni, 2);
    EXPECT_EQ(s.treno_attuale, 2);
    EXPECT_EQ(s.treni[0].numero, "2");
    EXPECT_EQ(s.treni[1].numero, "3");
    EXPECT_EQ(editor.numerotrenit.text, "2");
    EXPECT_EQ(buttons(), kCovered);

    back(); // the last one
    ui.answers = {Answer::Yes};
    editor.cancellatreno_Click();
    EXPECT_EQ(s.totale_treni, 1);
    EXPECT_EQ(s.treni[0].numero, "2");

    back();
    ui.answers = {Answer::Yes};
    editor.cancellatreno_Click();
    EXPECT_EQ(s.totale_treni, 0);
    EXPECT_EQ(editor.numerotrenit.text, "0");
    EXPECT_EQ(buttons(), kCoveredEmpty);
}

TEST_F(TrainCommands, NoToTheDeletionKeepsTrainAndFields) {
    insertNumbered(2);
    back();
    editor.note.setText("edited");
    ui.answers = {Answer::No};
    editor.cancellatreno_Click();
    EXPECT_EQ(s.totale_treni, 2);
    EXPECT_EQ(s.treno_attuale, 1);
    EXPECT_EQ(editor.numero.text, "2");
    EXPECT_EQ(editor.note.text, "edited");
    EXPECT_EQ(buttons(), "00111110");
    editor.modificatr_Click();
    EXPECT_EQ(s.treni[1].numero, "2") << "confirming after No stores no empty fields";
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
    ui.answers = {Answer::Yes};
    editor.cancellatreno_Click();
    EXPECT_EQ(s.totale_treni, kMaxTrains - 1);
    EXPECT_EQ(s.treni[1998].numero, "1999");
    EXPECT_EQ(s.treni[1999].numero, "2001");
    EXPECT_EQ(s.treni[2000], Treno{}) << "the freed place is emptied, nothing is copied into it";
    EXPECT_TRUE(editor.nuovotreno.enabled);
}

} // namespace
} // namespace zeb
