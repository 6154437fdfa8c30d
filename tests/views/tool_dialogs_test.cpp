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

// The dialogs of Strumenti: a feed's day imported, tracks assigned; each undone.
class ToolDialogsTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

private:
    // A terminus: 2001 ends at 10:00 and its unit could leave as 2002 at 10:20; 2003 ends later.
    void openTerminus() {
        Scenario day = test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                                          {"2002", "", "", "Nordia", "10:20", "1"},
                                          {"2003", "Sudia", "11:00", "", "", "2"}});
        day.nome_stazione = "Capolinea";
        day.ora_inizio = "06";
        day.min_inizio = "00";
        for (int i = 0; i < day.totale_treni; ++i)
            day.treni[i].ritardo = "0";
        writeBytes(folder.file("capolinea.zeb"), scenarioFileBytes(day));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("capolinea.zeb"));
    }

    // The feed as a folder, chosen by its stops.txt in the file dialog.
    void offerFeed(const FeedFiles& files) {
        QDir(QString::fromStdString(folder.file("feed"))).removeRecursively();
        QDir().mkpath(QString::fromStdString(folder.file("feed")));
        for (const auto& [name, text] : files)
            writeBytes(folder.file("feed/" + name), text);
        nextFile = QString::fromStdString(folder.file("feed/stops.txt"));
    }

    // Valmora's day of 6 March 2024 chosen in the import dialog.
    static void chooseValmora(QDialog& dialog) {
        widget<QDateEdit>(&dialog, "dataServizio")->setDate(QDate(2024, 3, 6));
        type(&dialog, "cercaStazione", "valm");
        auto* stations = widget<QTableView>(&dialog, "elencoStazioni");
        QCOMPARE(stations->model()->rowCount(), 1);
        QTest::mouseClick(stations->viewport(), Qt::LeftButton, {},
                          stations->visualRect(stations->model()->index(0, 0)).center());
    }

private slots:

    // A day of a feed of our own through the import dialog, into the table, and back by undo.
    void aFeedsDayThroughTheImportDialog() {
        openStation();
        offerFeed(valleFeed());
        dialogs.expect("importaGtfs", [](QDialog& dialog) {
            chooseValmora(dialog);
            auto* preview = widget<QTableWidget>(&dialog, "anteprima");
            QTRY_COMPARE(preview->rowCount(), 3);
            QCOMPARE(preview->item(1, 0)->text() + " " + preview->item(1, 4)->text(),
                     QString("2231 07:55"));
            widget<QComboBox>(&dialog, "categoriaGtfs0")->setCurrentText("Regionale");
            QTRY_COMPARE(preview->item(1, 1)->text(), QString("Regionale"));
            tick(&dialog, "usaStazioneFeed");
            tick(&dialog, "assegnaBinari");
            screenshot(&dialog, "importa_gtfs");
            click(&dialog, "importa");
        });
        dialogs.expectClick("Form2", "ok");
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
        QCOMPARE(scenario.totale_treni, 3);
        QCOMPARE(stationTrackNames(scenario), (std::vector<std::string>{"1", "2"}));
        QCOMPARE(scenario.treni[1].categoria, std::string("Regionale"));
        QCOMPARE(QString::fromStdString(scenario.treni[0].numero + " " + scenario.treni[0].binario),
                 QString("2235 1")); // came without a track: given one in the same step
        QCOMPARE(window->trainTable().findChild<QTableView*>()->model()->rowCount(), 3);
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla importazione GTFS di 3 treni"));
        undo->trigger();
        QCOMPARE(scenario.totale_treni, 0);
        QCOMPARE(stationTrackNames(scenario), (std::vector<std::string>{"1", "2", "1tronco"}));
    }

    // The preview lists every train of the day, not the first fifty.
    void thePreviewListsEveryTrain() {
        openStation();
        FeedFiles files = valleFeed();
        files["frequencies.txt"] =
            "trip_id,start_time,end_time,headway_secs\nt2,6:00:00,11:55:00,300\n"; // 72 runs
        offerFeed(files);
        dialogs.expect("importaGtfs", [](QDialog& dialog) {
            // A date typed whole or pasted in another writing, the weekday beside it.
            auto* date = widget<QDateEdit>(&dialog, "dataServizio");
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            date->setFocus();
            // Over the whole text, from the first section as Tab leaves it, and a part of it.
            const struct {
                bool selectAll;
                const char* keys;
                QDate date;
            } typings[] = {{true, "03/06/2024", QDate(2024, 6, 3)},
                           {false, "13/04/2024", QDate(2024, 4, 13)},
                           {false, "8\n", QDate(2024, 4, 8)},
                           {true, "07032024", QDate(2024, 3, 7)},
                           {true, "31/02/2024\n", QDate(2024, 3, 7)},
                           {true, "01/01/2030", QDate(2024, 3, 7)}}; // past the feed
            for (const auto& typing : typings) {
                if (typing.selectAll)
                    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
                else
                    date->setSelectedSection(QDateTimeEdit::DaySection);
                QTest::keyClicks(date, QString(typing.keys).remove('\n'));
                if (QString(typing.keys).endsWith('\n'))
                    QTest::keyClick(date, Qt::Key_Return);
                QCOMPARE(date->date(), typing.date);
            }
            QCOMPARE(QToolTip::text(), QString("Il 01/01/2030 è fuori dall'intervallo: dal "
                                               "01/01/2024 al 31/12/2024."));
            QGuiApplication::clipboard()->setText(" 2024-03-06 ");
            QTest::keySequence(date, QKeySequence::Paste);
            QCOMPARE(widget<QLabel>(&dialog, "giornoSettimana")->text(), QString("mercoledì"));
            chooseValmora(dialog);
            QTRY_COMPARE(widget<QTableWidget>(&dialog, "anteprima")->rowCount(), 74);
            QCOMPARE(widget<QLabel>(&dialog, "conteggioGtfs")->text(),
                     QString("74 treni da importare. 1 senza binario. 72 treni portano un numero "
                             "che anche un altro treno importato porta."));
        });
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
    }

    // The same day through the dialog and through zebrano-tool gives the same trains and notes.
    // A second import says which trains are there already, and replaces them as asked.
    void theDialogAndTheToolImportAlike() {
        QSettings().remove("gtfs/categorie"); // an earlier import's choices
        openStation();
        FeedFiles files = valleFeed();
        edit(files, "stops.txt", "NORD,Nordia", "NORD,Łódź Fabryczna"); // a name changed
        edit(files, "trips.txt", "t2,2233", "t2,2231");                 // a number shared
        offerFeed(files);
        writeBytes(folder.file("base.zeb"), scenarioFileBytes(scenario));
        QString notes;
        dialogs.expect("importaGtfs", [&](QDialog& dialog) {
            chooseValmora(dialog);
            QTRY_COMPARE(widget<QTableWidget>(&dialog, "anteprima")->rowCount(), 3);
            QVERIFY(widget<QLabel>(&dialog, "giaPresenti")->isHidden());
            notes = widget<QLabel>(&dialog, "conteggioGtfs")->text();
            click(&dialog, "importa");
        });
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
        std::ostringstream out, err;
        const GtfsToolRequest request{.feed = folder.file("feed"),
                                      .date = "2024-03-06",
                                      .station = "VAL",
                                      .base = folder.file("base.zeb"),
                                      .output = folder.file("tool.zeb")};
        QCOMPARE(gtfsCommand(request, date::sys_days(date::year{2024} / 3 / 6), out, err), 0);
        Scenario byTool;
        readScenario(byTool, readScenarioFile(folder.file("tool.zeb")));
        QCOMPARE(scenarioFileBytes(byTool), scenarioFileBytes(scenario));
        std::istringstream said(out.str());
        std::string line;
        std::getline(said, line); // what was written where
        for (int noted = 0; std::getline(said, line); ++noted) {
            QVERIFY2(notes.contains(QString::fromStdString(line)) ||
                         line.find("senza binario") == 0 ||
                         line.find(" senza binario") != std::string::npos,
                     line.c_str());
            QVERIFY(noted < 3);
        }
        QVERIFY(notes.contains("Łódź Fabryczna → Lódz Fabryczna"));

        scenario.treni[1].note = "a cura del capostazione";
        dialogs.expect("importaGtfs", [&](QDialog& dialog) {
            chooseValmora(dialog);
            QTRY_COMPARE(widget<QLabel>(&dialog, "giaPresenti")->text(),
                         QString("3 treni sono già nello scenario:"));
            auto* count = widget<QLabel>(&dialog, "conteggioGtfs");
            QVERIFY(count->text().startsWith("0 treni da importare."));
            QVERIFY(!widget<QPushButton>(&dialog, "importa")->isEnabled());
            click(&dialog, "sostituisci");
            QVERIFY(count->text().startsWith("0 treni da importare, 3 da sostituire."));
            screenshot(&dialog, "importa_gtfs_gia_presenti");
            click(&dialog, "importa");
        });
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
        QCOMPARE(scenario.totale_treni, 3);
        QCOMPARE(scenario.treni[1].note, std::string("a cura del capostazione"));
        QCOMPARE(window->findChild<QAction*>("actionAnnulla")->text(),
                 QString("Annulla importazione GTFS di 0 treni, 3 sostituiti"));
    }

    // On a base whose editor's data hold a rule and a buffer, the preview shows the track the
    // import will choose for the train that comes without one, and the dialog and the tool store
    // the same day and data.
    void theImportChoosesTracksByTheStationsRules() {
        Scenario valmora;
        valmora.nome_stazione = "Valmora";
        valmora.ora_inizio = "06";
        valmora.min_inizio = "30";
        for (int track : {0, 1, 23})
            valmora.binari_scelti[track] = true;
        rebuildTrackTable(valmora);
        EditorData data;
        TrackRule fromSudia;
        fromSudia.provenienza = "Sudia";
        fromSudia.preferiti = {"1tronco"};
        data.trackRules = {fromSudia};
        data.buffer = 7;
        saveScenarioPair(valmora, folder.file("base.zeb"), data);
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("base.zeb"));
        offerFeed(valleFeed());
        dialogs.expect("importaGtfs", [&](QDialog& dialog) {
            chooseValmora(dialog);
            auto* preview = widget<QTableWidget>(&dialog, "anteprima");
            QTRY_COMPARE(preview->rowCount(), 3);
            auto* count = widget<QLabel>(&dialog, "conteggioGtfs");
            QVERIFY(count->text().contains("1 senza binario"));
            QVERIFY(preview->item(0, 6)->text().isEmpty());
            click(&dialog, "assegnaBinari");
            QCOMPARE(preview->item(0, 0)->text(), QString("2235"));
            QCOMPARE(preview->item(0, 6)->text(), QString("1tronco"));
            QVERIFY(preview->item(0, 6)->font().italic());
            QVERIFY(!count->text().contains("senza binario"));
            click(&dialog, "importa");
        });
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
        const auto late = std::find_if(scenario.treni.begin(), scenario.treni.end(),
                                       [](const Treno& t) { return t.numero == "2235"; });
        QCOMPARE(late->binario, std::string("1tronco"));
        std::ostringstream out, err;
        const GtfsToolRequest request{.feed = folder.file("feed"),
                                      .date = "2024-03-06",
                                      .station = "VAL",
                                      .base = folder.file("base.zeb"),
                                      .output = folder.file("tool.zeb"),
                                      .assign = true};
        QCOMPARE(gtfsCommand(request, date::sys_days(date::year{2024} / 3 / 6), out, err), 0);
        Scenario byTool;
        readScenario(byTool, readScenarioFile(folder.file("tool.zeb")));
        QCOMPARE(scenarioFileBytes(byTool), scenarioFileBytes(scenario));
        const EditorData toolData = loadEditorData(folder.file("tool.zeb")).data;
        QCOMPARE(toolData.trackRules, window->logic().document().data().trackRules);
        QCOMPARE(toolData.buffer, 7);
        QCOMPARE(toolData.links, window->logic().document().data().links);
        QCOMPARE(toolData.serviceDay, std::string("2024-03-06"));
        QCOMPARE(window->logic().document().data().serviceDay, toolData.serviceDay);
        // The notice of a variant of that day is dated by it.
        nextFile = QString::fromStdString(folder.file("base.zeb"));
        window->findChild<QAction*>("actionConfrontaCon")->trigger();
        QCOMPARE(widget<QDateEdit>(&window->comparison(), "giornoAvviso")->date(),
                 QDate(2024, 3, 6));
    }

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
        QCOMPARE(window->logic().scenarioFile().value_or(""), folder.file("Sciopero.zeb"));
        window->logic().document().perturbTrains({1}, {});
        window->logic().document().perturbTrains({0}, {Perturbation::Action::ChangeTrack, "2"});
        nextFile.clear(); // the base day is known: no dialog
        window->findChild<QAction*>("actionConfrontaCon")->trigger();

        ComparisonWindow* compared = &window->comparison();
        QVERIFY(QTest::qWaitForWindowExposed(compared));
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

    // A terminus whose units turn round: "Collega rotazioni…" links them after a preview, the
    // close turnaround stops being a conflict, and one Annulla takes the links back.
    void turnaroundsLinkedByTheRule() {
        openTerminus();
        auto* indicator = widget<QToolButton>(window, "indicatoreVerifica");
        QCOMPARE(indicator->text(), QString("1 errore"));
        dialogs.expect("collegaRotazioni", [](QDialog& dialog) {
            auto* preview = widget<QPlainTextEdit>(&dialog, "anteprimaCollegamenti");
            QCOMPARE(preview->toPlainText(),
                     QString("2001 → 2002, binario 1, 10:00 → 10:20\n\nTerminano qui e restano "
                             "soli:\n  2003 11:00 binario 2"));
            widget<QSpinBox>(&dialog, "attesaMassima")->setValue(10);
            QVERIFY(!widget<QPushButton>(&dialog, "applicaCollegamenti")->isEnabled());
            widget<QSpinBox>(&dialog, "attesaMassima")->setValue(90);
            QCOMPARE(widget<QLabel>(&dialog, "riepilogoCollegamenti")->text(),
                     QString("1 collegamento nuovo; 0 già presenti."));
            screenshot(&dialog, "collega_rotazioni");
            click(&dialog, "applicaCollegamenti");
        });
        window->findChild<QAction*>("actionCollegaRotazioni")->trigger();
        QCOMPARE(window->logic().document().links(), (TrainLinks{{0, 1}}));
        QCOMPARE(indicator->text(), QString("Nessun problema"));
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla collegamento di 1 rotazione"));
        undo->trigger();
        QVERIFY(window->logic().document().links().empty());
        QCOMPARE(indicator->text(), QString("1 errore"));
    }

    // A link typed into the train table's "Prosegue come", a number typed after F2 that is nowhere
    // to be found refused with a word, and the unit unlinked from the chart's menu on its bar.
    void turnaroundsLinkedByHand() {
        openTerminus();
        QTest::keyClick(window, Qt::Key_F2);
        auto* table = widget<QTableView>(&window->trainTable(), "tabellaTreni");
        // The first key opens the cell's editor, F2 an empty one; Enter takes the number.
        auto typeInto = [&](int row, const QString& number, bool byF2) {
            table->setCurrentIndex(table->model()->index(row, TrainTableModel::ProsegueCome));
            QTest::keyClicks(table, byF2 ? QString() : number.left(1));
            if (byF2)
                QTest::keyClick(table, Qt::Key_F2);
            auto* editor = table->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor != nullptr);
            QTest::keyClicks(editor, byF2 ? number : number.mid(1));
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(table->viewport()->findChild<QLineEdit*>() == nullptr); // taken later
        };
        typeInto(0, "2002", false);
        QCOMPARE(window->logic().document().links(), (TrainLinks{{0, 1}}));
        QCOMPARE(table->model()->index(1, TrainTableModel::ProvieneDa).data().toString(),
                 QString("2001"));
        QCOMPARE(window->findChild<QAction*>("actionAnnulla")->text(),
                 QString("Annulla collegamento 2001→2002"));
        messages.answers = {Answer::No};
        typeInto(2, "2002", false); // 2002 goes on from 2001 already: asked, and kept
        QCOMPARE(messages.shown.back().text,
                 std::string("2002 è già collegato: 2001→2002. Collegando 2003→2002 quel "
                             "collegamento si scioglie. Continuare?"));
        QCOMPARE(window->logic().document().links(), (TrainLinks{{0, 1}}));
        messages.answers = {Answer::Ok};
        typeInto(2, "9999", true);
        QCOMPARE(messages.shown.back().text,
                 std::string("Nessun treno 9999 parte qui: 2003 non può proseguire come 9999."));

        OccupancyChartView* chart = &window->occupancy().chart();
        window->occupancy().show();
        QVERIFY(QTest::qWaitForWindowExposed(chart->window()));
        auto openMenu = [chart](int minute, int row, const QString& first) {
            QTimer::singleShot(0, [first] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu != nullptr);
                QCOMPARE(menu->actions().front()->text(), first);
                menu->actions().front()->trigger();
                menu->close();
            });
            const QPoint bar = chartPoint(*chart, minute, row);
            QContextMenuEvent click(QContextMenuEvent::Mouse, bar, chart->mapToGlobal(bar));
            QApplication::sendEvent(chart, &click);
        };
        // "Collega a…" on 2003 offers 2002, marked as 2001's; taking it is asked first.
        dialogs.expect("collegaA", [](QDialog& dialog) {
            auto* list = dialog.findChild<QComboBox*>();
            QCOMPARE(list->count(), 1);
            QCOMPARE(list->itemText(0),
                     QString("2002 10:20, binario 1 (1400 min), già collegato a 2001"));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        messages.answers = {Answer::Yes};
        openMenu(11 * 60 + 2, 1, "&Collega a… (prosegue come)");
        QCOMPARE(window->logic().document().links(), (TrainLinks{{2, 1}}));
        window->findChild<QAction*>("actionAnnulla")->trigger();
        QCOMPARE(window->logic().document().links(), (TrainLinks{{0, 1}}));
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QCOMPARE(menu->actions().front()->text(), QString("&Scollega 2001→2002"));
            menu->actions().front()->trigger();
            menu->close();
        });
        const QPoint bar = chartPoint(*chart, 10 * 60 + 10, 0);
        QContextMenuEvent click(QContextMenuEvent::Mouse, bar, chart->mapToGlobal(bar));
        QApplication::sendEvent(chart, &click);
        QVERIFY(window->logic().document().links().empty());
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

    // A reading that runs out of memory ends in a message, not in the editor's end.
    void aReadingsFailureIsToldNotFatal() {
        const BackgroundOutcome outcome = readInBackground(
            window, "Lettura", [](const ScanProgress&) { throw std::bad_alloc(); });
        QVERIFY(!outcome.done);
        QVERIFY(outcome.failure && outcome.failure->starts_with("La memoria non basta"));
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
