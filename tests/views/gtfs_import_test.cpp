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

// "Importa orario GTFS": a feed's day through the dialog, as the tool imports it, with the
// tracks the station's rules choose; each undone.
class GtfsImportTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

private:
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

    // A reading that runs out of memory ends in a message, not in the editor's end.
    void aReadingsFailureIsToldNotFatal() {
        const BackgroundOutcome outcome = readInBackground(
            window, "Lettura", [](const ScanProgress&) { throw std::bad_alloc(); });
        QVERIFY(!outcome.done);
        QVERIFY(outcome.failure && outcome.failure->starts_with("La memoria non basta"));
    }
};

QTEST_MAIN(GtfsImportTest)
#include "gtfs_import_test.moc"
