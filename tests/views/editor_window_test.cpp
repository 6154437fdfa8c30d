#include "views/editor/recovery_writer.h"
#include "views/gui_fixture.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>

using namespace zeb;
using namespace zeb::test;

// The editor window: a user's whole session (a new station, two trains, save, close, open,
// browse, change, delete, save again; the files compared byte for byte), and its fields.
class EditorWindowTest : public QObject, protected GuiFixture {
    Q_OBJECT

    void enterRegionale() {
        click(window, "nuovotreno");
        type(window, "numero", "231");
        choose("categoria", "Regionale");
        type(window, "provenienza", "Campolungo");
        type(window, "destinazione", "Borgo Alto");
        typeWhenOpen("oraa", "245");
        QCOMPARE(text("oraa"), QString("24")); // two characters at most, then out of range
        QTRY_COMPARE(text("oraa"), QString());
        type(window, "oraa", "06");
        type(window, "mina", "42");
        typeWhenOpen("orap", "06");
        type(window, "minp", "44");
        choose("ritardo", "1");
        QTRY_COMPARE(widget<QPlainTextEdit>(window, "fermate")->toPlainText(), QString());
        typeWhenOpen("fermate", "Pieve,Rocca");
        // The refresh leaves what is being typed alone: caret and selection stay.
        auto* stops = widget<QPlainTextEdit>(window, "fermate");
        QTextCursor cursor = stops->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        stops->setTextCursor(cursor);
        QTest::qWait(150);
        QCOMPARE(QPoint(stops->textCursor().selectionStart(), stops->textCursor().selectionEnd()),
                 QPoint(2, 5));
        choose("binario", "2");
        screenshot(window, "editor_entry");
        QTRY_VERIFY(enabled("inseriscitreno"));
        click(window, "inseriscitreno");
    }

    void enterAutobus() {
        click(window, "nuovotreno");
        QTRY_COMPARE(widget<QComboBox>(window, "sussi")->currentText(),
                     QString("Autobus (Piazzale Esterno)"));
        type(window, "numero", "88");
        type(window, "provenienza", "Borgo Alto");
        typeWhenOpen("oraa", "07");
        type(window, "mina", "05");
        QTRY_VERIFY(enabled("inseriscitreno"));
        click(window, "inseriscitreno");
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void aWholeSession() {
        openStation();
        enterRegionale();
        enterAutobus();

        const QString first = QString::fromStdString(folder.file("valmora.zeb"));
        save(first);
        QVERIFY(messages.shown.empty());
        QCOMPARE(readBytes(first.toStdString()), exampleFileBytes());

        messages.answers = {Answer::Yes};
        click(window, "chiudi");

        dialogs.expect("Form2", [](QDialog& dialog) {
            QCOMPARE(widget<QLineEdit>(&dialog, "textstazione")->text(), QString("Valmora"));
            QVERIFY(widget<QCheckBox>(&dialog, "binario_23")->isChecked());
            click(&dialog, "ok");
        });
        nextFile = first;
        click(window, "carica_scenario");
        QCOMPARE(text("numerotrenit"), QString("2"));

        click(window, "tprecedente");
        QCOMPARE(text("numero") + "|" + text("provenienza") + "|" + text("orap"),
                 QString("88|Borgo Alto|--"));
        QTRY_COMPARE(text("postreno"), QString("2"));
        click(window, "tprecedente");
        QCOMPARE(text("numero") + "|" + text("oraa") + ":" + text("mina") + "|" +
                     widget<QComboBox>(window, "binario")->currentText() + "|" +
                     widget<QPlainTextEdit>(window, "fermate")->toPlainText(),
                 QString("231|06:42|2|Pieve,Rocca,."));
        QTest::qWait(120); // the refresh must not disturb a shown train
        QCOMPARE(text("oraa"), QString("06"));

        type(window, "note", "binario tronco");
        choose("binario", "1tronco");
        click(window, "modificatr");
        click(window, "tprecedente");
        messages.answers = {Answer::Yes};
        click(window, "cancellatreno");
        QCOMPARE(text("numerotrenit"), QString("1"));

        // The menu takes the deletion back and gives it again.
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla eliminazione treno 88"));
        undo->trigger();
        QCOMPARE(text("numerotrenit"), QString("2"));
        window->findChild<QAction*>("actionRipeti")->trigger();
        QCOMPARE(text("numerotrenit"), QString("1"));

        const QString second = QString::fromStdString(folder.file("valmora2.zeb"));
        save(second);
        std::string expected = exampleFileBytes();
        expected.resize(expected.find("\r\nProssimo treno:", expected.find("Prossimo treno:")));
        expected.replace(expected.find("Binario = 2"), 11, "Binario = 1tronco");
        expected.replace(expected.rfind("Note al treno = "), 16, "Note al treno = binario tronco");
        QCOMPARE(readBytes(second.toStdString()), expected);

        // Closing the window with a change not yet saved asks first; only Yes closes it. Until
        // then a recovery copy holds the change; a clean end removes it.
        QVERIFY(!QFile::exists(QString::fromStdString(window->recovery().store().ownCopy())));
        click(window, "tprecedente");
        type(window, "note", " e piazzale");
        // In a text box the undo keys take back the typing, not a change of the scenario.
        QTest::keyClick(widget<QWidget>(window, "note"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(scenario.totale_treni, 1);
        QVERIFY(!widget<QPlainTextEdit>(window, "note")->toPlainText().contains("piazzale"));
        type(window, "note", " e piazzale");
        click(window, "modificatr");
        messages.answers = {Answer::Cancel};
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(messages.shown.back().title, std::string("Chiusura di Zebrano"));
        const QString copy = QString::fromStdString(window->recovery().store().ownCopy());
        window->recovery().flush();
        QVERIFY(readBytes(copy.toStdString()).find("piazzale") != std::string::npos);
        QVERIFY(QFile::exists(copy + "-editor")); // the editor's data beside it
        messages.answers = {Answer::Discard};
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(copy) && !QFile::exists(copy + "-editor"));
    }

    // A train with its own indication, reached from a bus by the table, keeps it through the
    // refresh and a confirmed change.
    void anIndicationStaysAfterAJumpFromABus() {
        std::string bytes = sampleFile("four_trains.zeb");
        const auto last = bytes.rfind("Indicazioni Sussidiarie = 0");
        bytes.replace(last, 27, "Indicazioni Sussidiarie = 6");
        writeBytes(folder.file("classi.zeb"), bytes);
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("classi.zeb"));
        QTest::keyClick(window, Qt::Key_F2);
        auto* table = widget<QTableView>(window, "tabellaTreni");
        QVERIFY(QTest::qWaitForWindowExposed(table->window()));
        auto jumpTo = [&](int row) {
            const QPoint middle = table->visualRect(table->model()->index(row, 0)).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, middle);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, middle);
            QTest::qWait(150); // a few ticks of the periodic refresh
        };
        jumpTo(2); // the bus 88
        QCOMPARE(text("numero"), QString("88"));
        jumpTo(3); // the Intercity 2235
        QCOMPARE(widget<QComboBox>(window, "sussi")->currentText(),
                 QString("Prima e Seconda Classe"));
        type(window, "note", "binario corto");
        click(window, "modificatr");
        QCOMPARE(scenario.treni[3].codice_sussidiaria + " " + scenario.treni[3].sussidiaria,
                 std::string("6 Prima e Seconda Classe"));
    }

    // Three keys never close an unsaved scenario: after NUOVO TRENO and after INSERISCI TRENO
    // the focus is on the train, never on CHIUDI SCENARIO, and Enter on its question answers
    // No. Ctrl+Z with the focus in a list puts the shown train back, and nothing else.
    void keysNeverLoseWork() {
        openStation();
        click(window, "nuovotreno");
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("numero"));
        type(window, "numero", "1");
        QTRY_VERIFY(enabled("inseriscitreno"));
        click(window, "inseriscitreno");
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("nuovotreno"));
        window->prompts().onMessage = nullptr; // the question as a person sees it
        dialogs.expect("messaggio", [](QDialog& box) { QTest::keyClick(&box, Qt::Key_Return); });
        auto* close = widget<QWidget>(window, "chiudi");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Space);
        QVERIFY(enabled("chiudi"));
        QCOMPARE(scenario.totale_treni, 1);

        click(window, "tprecedente");
        window->activateWindow(); // the menu's keys reach an active window
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto* track = widget<QComboBox>(window, "binario");
        track->setFocus();
        track->setCurrentIndex(1);
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QTRY_COMPARE(undo->text(), QString("Annulla modifiche al treno 1"));
        QTest::keyClick(track, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(track->currentText(), QString("1"));
        QCOMPARE(scenario.totale_treni, 1);
        QCOMPARE(undo->text(), QString("Annulla inserimento treno 1"));
    }

    // The file commands under the keys of any desktop editor, from the editor and from the train
    // table, each as its button does; Enter confirms the station data; the file's name and its
    // unsaved mark beside the checker.
    void theSameKeysInEveryWindow() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        dialogs.expect("Form2", [](QDialog& dialog) {
            type(&dialog, "textstazione", "Valmora");
            QTest::mouseClick(widget<QCheckBox>(&dialog, "binario_0"), Qt::LeftButton);
            QTest::keyClick(widget<QWidget>(&dialog, "textstazione"), Qt::Key_Return);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(scenario.nome_stazione, std::string("Valmora"));
        auto* name = widget<QLabel>(window, "nomeFile");
        QCOMPARE(name->text(), QString("senza nome *")); // never saved
        click(window, "nuovotreno");
        type(window, "numero", "1");
        QTRY_VERIFY(enabled("inseriscitreno"));
        click(window, "inseriscitreno");
        QCOMPARE(name->text(), QString("senza nome *"));
        nextFile = QString::fromStdString(folder.file("valmora"));
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(name->text(), QString("valmora.zeb"));
        QCOMPARE(name->toolTip(), QString::fromStdString(folder.file("valmora.zeb")));
        // A long name gives up its middle, never the mark of unsaved changes.
        const std::string longName = folder.file(
            "Stazione di Valmora, giorno feriale invernale con sciopero " + std::string(60, 'x'));
        nextFile = QString::fromStdString(longName);
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        click(window, "nuovotreno");
        type(window, "numero", "2");
        QTRY_VERIFY(enabled("inseriscitreno"));
        click(window, "inseriscitreno");
        QVERIFY(name->text().endsWith(" *"));
        QWidget* corner = window->menuBar()->cornerWidget();
        QVERIFY(corner->width() >= corner->sizeHint().width()); // nothing of it cut
        QVERIFY(corner->geometry().right() < window->menuBar()->width());
        QVERIFY(name->text().contains(QChar(0x2026)));
        QVERIFY(name->text().startsWith("Stazione di"));
        QVERIFY(name->text().size() < 50);
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        nextFile = QString::fromStdString(folder.file("valmora"));
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(name->text(), QString("valmora.zeb"));

        // The save dialog itself starts in the scenario's folder, at its name.
        window->prompts().onFileDialog = nullptr;
        dialogs.expect("dialogoFile", [&](QDialog& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            QCOMPARE(files.directory().absolutePath(), QString::fromStdString(folder.path()));
            QCOMPARE(files.selectedFiles().value(0),
                     QString::fromStdString(folder.file("valmora.zeb")));
        });
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier); // then closed as Annulla
        QCOMPARE(name->text(), QString("valmora.zeb"));

        QTest::keyClick(window, Qt::Key_F2);
        auto* quadro = widget<QWidget>(window, "quadroTreni");
        quadro->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(quadro));
        auto* table = widget<QWidget>(quadro, "tabellaTreni");
        QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(scenario.totale_treni, 0);
        QTest::keyClick(table, Qt::Key_W, Qt::ControlModifier); // answered No
        QCOMPARE(messages.shown.back().title, std::string("Chiusura dello scenario"));
        QVERIFY(enabled("chiudi"));
    }

    // A dialog a test leaves open is closed as Annulla, so that a failed check inside its answer
    // never leaves the test waiting for a person.
    void aDialogLeftOpenIsClosed() {
        QDialog dialog(window);
        window->prompts().onDialog = [](QDialog&) {};
        QCOMPARE(window->prompts().runDialog(dialog), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        dialogs.attach(window->prompts());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
