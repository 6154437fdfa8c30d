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
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_gui_test.moc"
