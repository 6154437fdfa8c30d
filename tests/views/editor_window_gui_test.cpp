#include "views/contribution_window.h"
#include "views/editor_window.h"
#include "views/gui_helpers.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

using namespace zeb;
using namespace zeb::test;

class EditorWindowTest : public QObject {
    Q_OBJECT

private:
    // A shown editor window over a fresh scenario.
    struct Fixture {
        Scenario scenario;
        EditorWindow window{scenario};
        MessageRecorder messages;

        Fixture() {
            messages.attach(window.prompts());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }

        // NUOVO SCENARIO, then the station dialog as a user fills it.
        void newScenario(std::initializer_list<int> trackSlots, const QString& name = "Valmora") {
            window.prompts().onStationDialog = [&](QDialog& dialog) {
                type(&dialog, "textstazione", name);
                type(&dialog, "orap", "06");
                type(&dialog, "minp", "30");
                checkTracks(dialog, trackSlots);
                screenshot(&dialog, "station_dialog");
                click(&dialog, "ok");
            };
            click(&window, "nuovo_scenario");
        }

        bool enabled(const char* name) { return widget<QWidget>(&window, name)->isEnabled(); }
        bool visible(const char* name) { return widget<QWidget>(&window, name)->isVisible(); }
        QString text(const char* name) {
            if (auto* box = window.findChild<QLineEdit*>(name))
                return box->text();
            if (auto* list = window.findChild<QComboBox*>(name))
                return list->currentText();
            return widget<QPlainTextEdit>(&window, name)->toPlainText();
        }
    };

private slots:
    void startState() {
        Fixture f;
        QCOMPARE(f.window.windowTitle(), QString("Zebrano - Editor Di Scenari v.1.0"));
        QCOMPARE(f.window.size(), QSize(656, 425));
        for (const char* name :
             {"nuovo_scenario", "carica_scenario", "contributo", "help_10", "help_12", "Command4"})
            QVERIFY2(f.enabled(name), name);
        for (const char* name :
             {"chiudi", "salva", "modifica", "nuovotreno", "inseriscitreno", "cancellatreno",
              "tprecedente", "tsuccessivo", "numerotrenit", "postreno", "copri"})
            QVERIFY2(!f.enabled(name), name);
        QVERIFY(f.visible("copri"));
        QVERIFY(f.visible("inseriscitreno"));
        QVERIFY(!f.visible("modificatr"));
        QCOMPARE(f.text("numerotrenit"), QString());
        // At the first ticks the refresh sets up the fields under the cover.
        QTRY_COMPARE(f.text("oraa"), QString("--"));
        QCOMPARE(f.text("fermate"), QString("Il treno termina nella stazione simulata"));
        QCOMPARE(widget<QLineEdit>(&f.window, "orap")->maxLength(), 2);
        QVERIFY(!widget<QComboBox>(&f.window, "categoria")->isEditable());
        screenshot(&f.window, "editor_start");
    }

    void newScenarioOpensTheStationDialogAndFillsTheTrackList() {
        Fixture f;
        f.newScenario({1, 23, 0});
        QCOMPARE(f.scenario.nome_stazione, std::string("Valmora"));
        for (const char* name : {"chiudi", "salva", "modifica", "nuovotreno"})
            QVERIFY2(f.enabled(name), name);
        QVERIFY(!f.enabled("nuovo_scenario"));
        QVERIFY(!f.enabled("carica_scenario"));
        auto* tracks = widget<QComboBox>(&f.window, "binario");
        QCOMPARE(tracks->count(), 3);
        QCOMPARE(tracks->itemText(0), QString("1"));
        QCOMPARE(tracks->itemText(1), QString("2"));
        QCOMPARE(tracks->itemText(2), QString("1tronco"));
        QVERIFY(f.messages.shown.empty());
    }

    void theTwentyFourthTrackIsRefused() {
        Fixture f;
        bool refusedBoxChecked = true;
        QString count;
        f.window.prompts().onStationDialog = [&](QDialog& dialog) {
            for (int slot = 0; slot < 24; ++slot)
                checkTracks(dialog, {slot});
            refusedBoxChecked = widget<QCheckBox>(&dialog, "binario_23")->isChecked();
            count = widget<QLineEdit>(&dialog, "nbinari")->text();
            dialog.close();
        };
        click(&f.window, "nuovo_scenario");
        QVERIFY(!refusedBoxChecked);
        QCOMPARE(count, QString("23"));
        QCOMPARE(f.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.messages.shown[0].text,
                 std::string("Il numero massimo di binari selezionabili è 23"));
        QCOMPARE(f.messages.shown[0].title, std::string("Attenzione!"));
        QCOMPARE(widget<QComboBox>(&f.window, "binario")->count(), 23);
    }

    void okWithoutTracksKeepsTheDialogOpen() {
        Fixture f;
        bool stillOpen = false;
        f.window.prompts().onStationDialog = [&](QDialog& dialog) {
            click(&dialog, "ok");
            stillOpen = dialog.isVisible();
            dialog.close();
        };
        click(&f.window, "nuovo_scenario");
        QVERIFY(stillOpen);
        QCOMPARE(f.messages.shown.at(0).text,
                 std::string("Devi selezionare almeno un binario per proseguire"));
    }

    void theRefreshFollowsTyping() {
        Fixture f;
        f.newScenario({0});
        QTRY_VERIFY(!f.enabled("oraa"));
        type(&f.window, "provenienza", "Campolungo");
        QTRY_VERIFY(f.enabled("oraa"));
        QCOMPARE(f.text("oraa"), QString());
        type(&f.window, "oraa", "245");
        QCOMPARE(f.text("oraa"), QString("24")); // two characters at most
        QTRY_COMPARE(f.text("oraa"), QString());
        type(&f.window, "mina", "42");
        QTest::qWait(120);
        QCOMPARE(f.text("mina"), QString("42"));

        // No category is chosen yet, so the lists are open; "Autobus" locks them.
        auto* category = widget<QComboBox>(&f.window, "categoria");
        QTRY_VERIFY(f.enabled("sussi"));
        category->setFocus();
        QTest::keyClick(category, Qt::Key_Down);
        QCOMPARE(f.text("categoria"), QString("Autobus"));
        QTRY_VERIFY(!f.enabled("sussi"));
        QCOMPARE(f.text("sussi"), QString("Autobus (Piazzale Esterno)"));
        QTest::keyClick(category, Qt::Key_Down); // Cisalpino
        QTRY_VERIFY(f.enabled("sussi"));
        QCOMPARE(f.text("sussi"), QString("Nessuna"));

        type(&f.window, "numero", "231");
        QTRY_VERIFY(f.enabled("inseriscitreno"));
    }

    void typingIsNotDisturbedByTheRefresh() {
        Fixture f;
        f.newScenario({0});
        QTRY_COMPARE(f.text("fermate"), QString("Il treno termina nella stazione simulata"));
        type(&f.window, "destinazione", "Borgo");
        QTRY_COMPARE(f.text("fermate"), QString());
        QVERIFY(f.enabled("fermate"));
        auto* stops = widget<QPlainTextEdit>(&f.window, "fermate");
        type(&f.window, "fermate", "Pieve,Rocca");
        QTextCursor cursor = stops->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        stops->setTextCursor(cursor);
        QTest::qWait(150);
        QCOMPARE(stops->textCursor().selectionStart(), 2);
        QCOMPARE(stops->textCursor().selectionEnd(), 5);
        QCOMPARE(f.scenario.nome_stazione, std::string("Valmora"));
        QCOMPARE(f.window.logic().fermate.text, std::string("Pieve,Rocca"));
    }

    void closeScenarioAsksThenResets() {
        Fixture f;
        f.newScenario({0, 4});
        f.messages.answers = {Answer::No};
        click(&f.window, "chiudi");
        QVERIFY(f.enabled("chiudi"));
        f.messages.answers = {Answer::Yes};
        click(&f.window, "chiudi");
        QCOMPARE(f.messages.shown.size(), std::size_t(2));
        QCOMPARE(f.messages.shown[1].title, std::string("Chiusura dello scenario"));
        QVERIFY(f.enabled("nuovo_scenario"));
        QVERIFY(!f.enabled("chiudi"));
        QVERIFY(!f.enabled("nuovotreno"));
        QCOMPARE(f.text("numerotrenit"), QString("0"));
    }

    void closingTheWindowWithAScenarioOpenAsksFirst() {
        Fixture f;
        f.newScenario({0});
        f.messages.answers = {Answer::No};
        f.window.close();
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.messages.shown.back().text,
                 std::string("Chiudere questo scenario? Le modifihe se non salvate andranno "
                             "perse!"));
        f.messages.answers = {Answer::Yes};
        f.window.close();
        QVERIFY(!f.window.isVisible());
    }

    void closingTheWindowWithoutAScenarioAsksNothing() {
        Fixture f;
        f.window.close();
        QVERIFY(!f.window.isVisible());
        QVERIFY(f.messages.shown.empty());
    }

    void contributionWindowTexts() {
        ContributionWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QString("Contributo"));
        QCOMPARE(window.size(), QSize(312, 244));
        QCOMPARE(widget<QLabel>(&window, "Label5")->text(), QString("Grazie a tutti."));
        QVERIFY(widget<QLabel>(&window, "Label3")->text().endsWith("indirizzo email: "));
        QVERIFY(!widget<QLabel>(&window, "Image1")->pixmap().isNull());
        screenshot(&window, "contribution");
    }

    void helpShowsItsText() {
        Fixture f;
        click(&f.window, "help_10");
        QCOMPARE(f.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.messages.shown[0].title, std::string("Numero treni totali"));
        QCOMPARE(f.messages.shown[0].icon, MessageIcon::Information);
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_gui_test.moc"
