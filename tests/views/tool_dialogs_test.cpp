#include "companion/editor_data.h"
#include "gtfs/valle_feed.h"
#include "model/track_slots.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "timetable/test_trains.h"
#include "tool/gtfs_command.h"
#include "views/common/background_reading.h"
#include "views/editor/recovery_writer.h"
#include "views/gui_fixture.h"
#include "views/timetable/comparison_window.h"
#include "views/timetable/train_table_model.h"
#include "views/timetable/train_table_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <sstream>

using namespace zeb;
using namespace zeb::test;

// The dialogs of Strumenti: perturbations, variants, settings, rules, tracks; each undone.
class ToolDialogsTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    // The trains of a window cancelled through "Perturbazioni…", the preview first, then one step
    // of Annulla.
    void aDisruptedDayThroughThePerturbationsDialog() {
        openFourTrains();
        const Scenario before = scenario;
        dialogs.expect("perturbazioni", [](QDialog& dialog) {
            // 2233 stands from 07:44 to 07:50: at the station in the window; 2231 leaves at 07:45.
            widget<QTimeEdit>(&dialog, "perturbaDalle")->setTime(QTime(7, 46));
            widget<QTimeEdit>(&dialog, "perturbaAlle")->setTime(QTime(7, 50));
            auto* preview = widget<QPlainTextEdit>(&dialog, "anteprimaPerturbazione");
            QCOMPARE(preview->toPlainText(), QString("2233 07:44: soppresso"));
            widget<QComboBox>(&dialog, "azionePerturbazione")->setCurrentIndex(3);
            widget<QComboBox>(&dialog, "perturbaBinario")->setCurrentIndex(2);
            QCOMPARE(preview->toPlainText(), QString("2233 07:44: binario 1 → 2"));
            QVERIFY(widget<QLabel>(&dialog, "riepilogoPerturbazione")
                        ->text()
                        .startsWith("1 treno cambia; conflitti: prima 1, dopo 0"));
            screenshot(&dialog, "perturbazioni");
            click(&dialog, "applicaPerturbazione");
        });
        window->findChild<QAction*>("actionPerturbazioni")->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("2"));
        // Opened again, it starts from the choices it was closed with.
        dialogs.expect("perturbazioni", [](QDialog& dialog) {
            QCOMPARE(widget<QTimeEdit>(&dialog, "perturbaDalle")->time(), QTime(7, 46));
            QCOMPARE(widget<QComboBox>(&dialog, "azionePerturbazione")->currentIndex(), 3);
            QCOMPARE(widget<QComboBox>(&dialog, "perturbaBinario")->currentText(), QString("2"));
        });
        window->findChild<QAction*>("actionPerturbazioni")->trigger();
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla cambio di binario di 1 treno"));
        undo->trigger();
        QVERIFY(scenario.treni[1] == before.treni[1]);
    }

    // A variant saved from the day it was opened from is compared with it through "Confronta
    // con…": the rows follow the editor's changes, filter by kind, show their train, and go to
    // a CSV file and a notice.
    void aVariantComparedWithItsBaseDay() {
        openFourTrains();
        save(QString::fromStdString(folder.file("Valmora.zeb")));
        nextFile = QString::fromStdString(folder.file("Sciopero"));
        window->findChild<QAction*>("actionSalvaVariante")->trigger();
        QCOMPARE(window->logic().document().file().value_or(""), folder.file("Sciopero.zeb"));
        window->logic().document().perturbTrains({1}, {});
        window->logic().document().perturbTrains({0}, {Perturbation::Action::ChangeTrack, "2"});
        nextFile.clear(); // the base day is known: no dialog
        window->findChild<QAction*>("actionConfrontaCon")->trigger();

        ComparisonWindow* compared = &window->comparison();
        QVERIFY(QTest::qWaitForWindowExposed(compared));
        screenshot(compared, "confronto");
        auto* rows = widget<QTableView>(compared, "differenze");
        auto row = [rows](int r) {
            QStringList cells;
            for (int c = 0; c < rows->model()->columnCount(); ++c)
                cells << rows->model()->index(r, c).data().toString();
            return cells.join('|');
        };
        QCOMPARE(rows->model()->rowCount(), 2);
        QCOMPARE(row(0), QString("2231|07:30|Binario|1|2"));
        QCOMPARE(row(1), QString("2233|07:44|Indicazioni|Nessuna|Soppresso"));
        screenshot(compared, "confronto");
        widget<QComboBox>(compared, "tipoDifferenza")->setCurrentIndex(2); // "Treni tolti"
        QCOMPARE(rows->model()->rowCount(), 0);
        widget<QComboBox>(compared, "tipoDifferenza")->setCurrentIndex(0);
        type(compared, "filtroConfronto", "soppr");
        QCOMPARE(rows->model()->rowCount(), 1);

        nextFile = QString::fromStdString(folder.file("variazioni"));
        click(compared, "esportaConfronto");
        QCOMPARE(readBytes(folder.file("variazioni.csv")),
                 std::string("\xEF\xBB\xBFNumero;Orario;Cambiamento;Prima;Dopo\r\n"
                             "2231;07:30;Binario;1;2\r\n"
                             "2233;07:44;Indicazioni;Nessuna;Soppresso\r\n")); // unfiltered
        nextFile = QString::fromStdString(folder.file("avviso.pdf"));
        auto* noticeDay = widget<QDateEdit>(compared, "giornoAvviso");
        QTest::keyClick(noticeDay, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(noticeDay, "12/05/2025");
        const QImage menu = menuPicture(window);
        click(compared, "stampaAvviso");
        QCOMPARE(menuPicture(window), menu); // the notice's fonts are its own
        QCOMPARE(readBytes(folder.file("avviso.pdf")).substr(0, 4), std::string("%PDF"));
        QCOMPARE(widget<QLabel>(compared, "riepilogoConfronto")->text(),
                 QString("Avviso scritto: 1 pagina."));

        const QPoint middle = rows->visualRect(rows->model()->index(0, 2)).center();
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(text("numero"), QString("2233"));
        for (int step = 0; step < 2; ++step)
            window->findChild<QAction*>("actionAnnulla")->trigger();
        QCOMPARE(rows->model()->rowCount(), 0);
        QCOMPARE(widget<QLabel>(compared, "riepilogoConfronto")->text(),
                 QString("I due giorni sono uguali"));
        // Ctrl+W and Esc close the window, not the scenario.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)}) {
            compared->show();
            QApplication::setActiveWindow(compared);
            QVERIFY(QTest::qWaitForWindowActive(compared));
            QTest::keySequence(widget<QWidget>(compared, "differenze"), keys);
            QTRY_VERIFY(!compared->isVisible());
            QVERIFY(enabled("chiudi"));
            QVERIFY(messages.shown.empty() ||
                    messages.shown.back().title != "Chiusura dello scenario");
        }
        noticeDay->setDate(QDate(2020, 1, 1));
        window->findChild<QAction*>("actionConfrontaCon")->trigger(); // no day of service known
        QCOMPARE(noticeDay->date(), QDate(2025, 5, 12));              // the last notice's
        messages.answers = {Answer::Yes};
        click(window, "chiudi");
        QVERIFY(!compared->isVisible()); // its base was the closed scenario's
    }

    // The occupancy minutes set in "Impostazioni orario…" are the scenario's, to be saved with
    // it, and the train table's boxes follow them.
    void theTimetableSettingsBelongToTheScenario() {
        openFourTrains();
        auto* separation = window->trainTable().findChild<QSpinBox*>("separazioneMinima");
        QCOMPARE(separation->value(), 3);
        dialogs.expect("impostazioniOrario", [](QDialog& dialog) {
            widget<QSpinBox>(&dialog, "impostaSeparazione")->setValue(7);
            click(&dialog, "confermaImpostazioni");
        });
        window->findChild<QAction*>("actionImpostazioniOrario")->trigger();
        QCOMPARE(separation->value(), 7);
        QVERIFY(widget<QLabel>(window, "nomeFile")->toolTip().endsWith("\nModifiche non salvate"));
    }

    // Rules made in the dialog, a wrong cell refused with what would do, exported and imported
    // again the same; the checker warns of the train outside them, the train table filters it,
    // and "Assegna binari…" puts it back within them, undone in one step.
    void trackRulesMadeExportedAndFollowed() {
        openFourTrains();
        const QString csv = QString::fromStdString(folder.file("regole.csv"));
        dialogs.expect("regoleBinari", [&](QDialog& dialog) {
            auto* table = widget<QTableWidget>(&dialog, "tabellaRegole");
            auto* error = widget<QLabel>(&dialog, "erroreRegole");
            click(&dialog, "aggiungiRegola");
            QCOMPARE(table->rowCount(), 1);
            QCOMPARE(error->text(), QString("Regola 1: la regola non dà nessun binario: ne "
                                            "vieterebbe tutti"));
            table->item(0, 6)->setText("9");
            QCOMPARE(error->text(), QString("Regola 1, preferiti: «9» non è un binario della "
                                            "stazione: ci sono 1, 2"));
            QCOMPARE(table->item(0, 6)->text(), QString());
            table->item(0, 6)->setText("1");
            table->item(0, 0)->setText("intercity");
            table->item(0, 3)->setText("PASSA");
            QCOMPARE(table->item(0, 0)->text(), QString("Intercity"));
            QCOMPARE(table->item(0, 3)->text(), QString("passa"));
            QCOMPARE(error->text(), QString());
            QCOMPARE(widget<QLabel>(&dialog, "conteggioRegole")->text(),
                     QString("regola 1: 1 treno; 2 treni senza regola"));
            screenshot(&dialog, "regole_binari");
            nextFile = csv;
            click(&dialog, "esportaRegole");
            click(&dialog, "rimuoviRegola");
            QCOMPARE(table->rowCount(), 0);
            click(&dialog, "importaRegole");
            QCOMPARE(table->rowCount(), 1);
            QCOMPARE(table->item(0, 6)->text(), QString("1"));
            // A second rule after it, moved up and back down.
            click(&dialog, "aggiungiRegola");
            table->item(1, 7)->setText("2");
            click(&dialog, "suRegola");
            QCOMPARE(table->item(0, 7)->text(), QString("2"));
            click(&dialog, "giuRegola");
            QCOMPARE(table->item(1, 7)->text(), QString("2"));
            QCOMPARE(widget<QLabel>(&dialog, "conteggioRegole")->text(),
                     QString("regola 1: 1 treno, regola 2: 2 treni; nessun treno senza regola"));
            click(&dialog, "rimuoviRegola");
            screenshot(&dialog, "regole_binari");
            click(&dialog, "applicaRegole");
        });
        window->findChild<QAction*>("actionRegoleBinari")->trigger();
        QCOMPARE(readBytes(csv.toStdString()),
                 std::string("\xEF\xBB\xBF"
                             "categoria;provenienza;destinazione;tipo;dalle;alle;preferiti;"
                             "ammessi\r\nIntercity;;;passa;;;1;\r\n"));
        QCOMPARE(window->logic().document().data().trackRules.size(), std::size_t(1));
        // A step of Annulla, and kept in the recovery copy with the scenario.
        QCOMPARE(window->findChild<QAction*>("actionAnnulla")->text(),
                 QString("Annulla regole dei binari"));
        window->recovery().flush();
        QCOMPARE(loadEditorData(window->recovery().store().ownCopy()).data.trackRules.size(),
                 std::size_t(1));
        save(QString::fromStdString(folder.file("regolato.zeb")));
        QVERIFY(readBytes(folder.file("regolato.zeb-editor")).find("\"regoleBinari\"") !=
                std::string::npos);
        QVERIFY(widget<QToolButton>(window, "indicatoreVerifica")->text().contains("1 avviso"));

        TrainTableWindow& table = window->trainTable();
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QTest::mouseClick(widget<QCheckBox>(&table, "soloFuoriRegola"), Qt::LeftButton);
        auto* rows = widget<QTableView>(&table, "tabellaTreni")->model();
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(rows->index(0, 1).data().toString(), QString("2235"));

        dialogs.expect("assegnaBinari", [](QDialog& dialog) {
            QVERIFY(widget<QCheckBox>(&dialog, "seguiRegole")->isChecked());
            QVERIFY(!widget<QCheckBox>(&dialog, "riduciRischio")->isEnabled()); // none may be late
            auto* which = widget<QComboBox>(&dialog, "qualiTreni");
            which->setCurrentIndex(which->findText("Treni fuori regola"));
            QVERIFY(widget<QPlainTextEdit>(&dialog, "anteprimaAssegnazione")
                        ->toPlainText()
                        .endsWith("2235 06:10: 2 → 1")); // the train its rule forbids track 2
            which->setCurrentIndex(which->findText("Tutti i treni"));
            auto* preview = widget<QPlainTextEdit>(&dialog, "anteprimaAssegnazione");
            QVERIFY(preview->toPlainText().contains(
                "Sul binario preferito: 1 di 1 treno con una regola (prima 0), sul primo 1\n"
                "Su un binario ammesso in più: 0; fuori regola: 0 (prima 1)"));
            click(&dialog, "miglioraAssegnazione");
            // Every train placed anew on its preferred track, no gap under the buffer: nothing
            // for the search to find.
            QVERIFY(preview->toPlainText().contains(
                "La prima scelta non si può migliorare: la ricerca non è servita."));
            screenshot(&dialog, "assegna_binari_regole");
            click(&dialog, "assegna");
        });
        window->findChild<QAction*>("actionAssegnaBinari")->trigger();
        QCOMPARE(scenario.treni[3].binario, std::string("1"));
        QCOMPARE(rows->rowCount(), 0);
        QVERIFY(!widget<QToolButton>(window, "indicatoreVerifica")->text().contains("avvis"));
        window->findChild<QAction*>("actionAnnulla")->trigger();
        QCOMPARE(scenario.treni[3].binario, std::string("2"));
        QCOMPARE(rows->rowCount(), 1);
    }

    // The conflict of the sample mended by "Assegna binari…", and given back by undo; what is left
    // undone comes first in the preview.
    void tracksAssignedThroughTheDialog() {
        openFourTrains();
        dialogs.expect("assegnaBinari", [](QDialog& dialog) {
            auto* preview = widget<QPlainTextEdit>(&dialog, "anteprimaAssegnazione");
            const QString gaps =
                "Intervalli di meno di 8 minuti (separazione 3 + margine 5): prima 0, dopo 0\n\n";
            QCOMPARE(preview->toPlainText(),
                     "conflitti: prima 1, dopo 1; intervalli di meno di 8 minuti (separazione 3 + "
                     "margine 5): 0; servono almeno "
                     "2 binari\n\n" +
                         gaps + "Nessun treno cambia binario.");
            widget<QComboBox>(&dialog, "qualiTreni")->setCurrentIndex(1); // in conflict
            QCOMPARE(preview->toPlainText(), gaps + "2233 07:44: 1 → 2");
            tick(&dialog, "binarioAmmesso_2");
            QCOMPARE(preview->toPlainText(),
                     "senza binario libero: 2233 (1 binario in più lo collocherebbe)\n"
                     "conflitti: prima 1, dopo 1; intervalli di meno di 8 minuti (separazione 3 + "
                     "margine 5): 0; servono almeno "
                     "2 binari\n\n" +
                         gaps + "Nessun treno cambia binario.");
            tick(&dialog, "binarioAmmesso_2");
            screenshot(&dialog, "assegna_binari");
            click(&dialog, "assegna");
        });
        window->findChild<QAction*>("actionAssegnaBinari")->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("2"));
        QVERIFY(!widget<QToolButton>(window, "indicatoreVerifica")->text().contains("errore"));
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla assegnazione binari di 1 treno"));
        undo->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("1"));
    }
};

QTEST_MAIN(ToolDialogsTest)
#include "tool_dialogs_test.moc"
