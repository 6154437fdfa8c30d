#include "scenario_file/test_files.h"
#include "views/editor_window.h"
#include "views/gui_helpers.h"
#include "views/recovery_writer.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

using namespace zeb;
using namespace zeb::test;

// A user's whole session: a new station, two trains, save, close, open, browse, change,
// delete, save again; the files are compared byte for byte.
class JourneyTest : public QObject {
    Q_OBJECT

    Scenario scenario;
    EditorWindow* window = nullptr;
    MessageRecorder messages;
    QString nextFile;

    bool enabled(const char* name) { return widget<QWidget>(window, name)->isEnabled(); }
    QString text(const char* name) { return widget<QLineEdit>(window, name)->text(); }

    // Choosing an entry of a drop-down list, as a pick in its popup does.
    void choose(const char* name, const QString& entry) {
        auto* list = widget<QComboBox>(window, name);
        QTRY_VERIFY(list->isEnabled());
        const int index = list->findText(entry);
        QVERIFY(index >= 0);
        list->setCurrentIndex(index);
    }

    void typeWhenOpen(const char* name, const QString& value) {
        QTRY_VERIFY(enabled(name));
        type(window, name, value);
    }

    void openStation() {
        window->prompts().onStationDialog = [](QDialog& dialog) {
            type(&dialog, "textstazione", "Valmora");
            type(&dialog, "orap", "06");
            type(&dialog, "minp", "30");
            checkTracks(dialog, {0, 1, 23});
            screenshot(&dialog, "station_dialog");
            click(&dialog, "ok");
        };
        click(window, "nuovo_scenario");
    }

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
        QCOMPARE(stops->textCursor().selectionStart(), 2);
        QCOMPARE(stops->textCursor().selectionEnd(), 5);
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

    void save(const QString& path) {
        nextFile = path;
        click(window, "salva");
    }

private slots:
    void init() {
        scenario = Scenario{};
        messages = MessageRecorder{};
        window = new EditorWindow(scenario);
        messages.attach(window->prompts());
        window->prompts().onFileDialog = [this](const FileFilter&) {
            return std::optional<std::string>(nextFile.toStdString());
        };
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup() { delete window; }

    void aWholeSession() {
        TempFolder folder;
        openStation();
        enterRegionale();
        QCOMPARE(text("numerotrenit"), QString("1"));
        enterAutobus();
        QCOMPARE(text("numerotrenit"), QString("2"));

        const QString first = QString::fromStdString(folder.file("valmora.zeb"));
        save(first);
        QVERIFY(messages.shown.empty());
        QCOMPARE(readBytes(first.toStdString()), exampleFileBytes());

        messages.answers = {Answer::Yes};
        click(window, "chiudi");
        QVERIFY(enabled("carica_scenario"));

        window->prompts().onStationDialog = [](QDialog& dialog) {
            QCOMPARE(widget<QLineEdit>(&dialog, "textstazione")->text(), QString("Valmora"));
            QVERIFY(widget<QCheckBox>(&dialog, "binario_23")->isChecked());
            click(&dialog, "ok");
        };
        nextFile = first;
        click(window, "carica_scenario");
        QCOMPARE(text("numerotrenit"), QString("2"));
        QVERIFY(!enabled("carica_scenario"));

        click(window, "tprecedente");
        QCOMPARE(text("numero"), QString("88"));
        QCOMPARE(text("provenienza"), QString("Borgo Alto"));
        QCOMPARE(text("orap"), QString("--"));
        QTRY_COMPARE(text("postreno"), QString("2"));
        click(window, "tprecedente");
        QCOMPARE(text("numero"), QString("231"));
        QCOMPARE(text("oraa") + ":" + text("mina"), QString("06:42"));
        QCOMPARE(widget<QComboBox>(window, "binario")->currentText(), QString("2"));
        QCOMPARE(widget<QPlainTextEdit>(window, "fermate")->toPlainText(),
                 QString("Pieve,Rocca,."));
        QVERIFY(!enabled("tprecedente"));
        QTest::qWait(120); // the refresh must not disturb a shown train
        QCOMPARE(text("oraa"), QString("06"));

        type(window, "note", "binario tronco");
        choose("binario", "1tronco");
        click(window, "modificatr");
        click(window, "tprecedente");
        messages.answers = {Answer::Yes};
        click(window, "cancellatreno");
        QCOMPARE(messages.shown.back().text, std::string("Eliminare questo treno?"));
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
        messages.answers = {Answer::No};
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(messages.shown.back().title, std::string("Chiusura dello scenario"));
        const QString copy = QString::fromStdString(window->recovery().store().ownCopy());
        window->recovery().flush();
        QVERIFY(readBytes(copy.toStdString()).find("piazzale") !=
                std::string::npos);
        messages.answers = {Answer::Yes};
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(copy));
    }

    void aFailedOpenLeavesTheStartState() {
        TempFolder folder;
        writeBytes(folder.file("bad.zeb"), crlfLines({"Stazione di = A"}));
        nextFile = QString::fromStdString(folder.file("bad.zeb"));
        window->prompts().onStationDialog = [](QDialog&) { QFAIL("no station dialog"); };
        click(window, "carica_scenario");
        QCOMPARE(messages.shown.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(messages.shown[0].text).startsWith("1001 Riga 2:"));
        QVERIFY(enabled("carica_scenario"));
        QVERIFY(!enabled("salva"));
        QCOMPARE(scenario.nome_stazione, std::string());
    }
};

QTEST_MAIN(JourneyTest)
#include "journey_gui_test.moc"
