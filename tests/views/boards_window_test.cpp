#include "scenario_file/scenario_writer.h"
#include "timetable/test_trains.h"
#include "timetable/train_times.h"
#include "tool/paper_commands.h"
#include "views/gui_fixture.h"
#include "views/timetable/boards_window.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTableWidget>
#include <QTimeEdit>

#include <sstream>

using namespace zeb;
using namespace zeb::test;

// "Tabelloni": the boards at the minute the clock shows, following its buttons, the delays
// chosen and every change of the scenario, and leading to their trains.
class BoardsWindowTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void theBoardsFollowTheClockTheDelaysAndTheScenario() {
        // Seven departures from 08:00, ten minutes apart; 2001 may run up to 30 minutes late.
        std::vector<Train> trains;
        for (int k = 0; k < 7; ++k)
            trains.push_back({std::to_string(2001 + k), "", "", "Sudia", clockText(8 * 60 + 10 * k),
                              k % 2 ? "1" : "2"});
        Scenario day = stationWith(trains);
        day.nome_stazione = "Valmora";
        day.ora_inizio = "06";
        day.min_inizio = "00";
        for (int i = 0; i < day.totale_treni; ++i)
            day.treni[i].ritardo = i == 0 ? "2" : "0";
        writeBytes(folder.file("valmora.zeb"), scenarioFileBytes(day));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("valmora.zeb"));

        QTest::keyClick(window, Qt::Key_F4);
        auto* boards = widget<QWidget>(window, "tabelloni");
        QVERIFY(QTest::qWaitForWindowExposed(boards));
        auto* departures = widget<QTableWidget>(boards, "partenze");
        auto* clock = widget<QTimeEdit>(boards, "oraTabelloni");
        clock->setTime(QTime(7, 30)); // the first six within the hour
        QCOMPARE(departures->rowCount(), 4);
        widget<QComboBox>(boards, "righeTabelloni")->setCurrentIndex(0); // 5 rows
        QCOMPARE(departures->rowCount(), 4);
        click(boards, "piuDieci");
        click(boards, "piuDieci"); // 07:50: six due within the hour, five shown
        QCOMPARE(widget<QSlider>(boards, "minutoTabelloni")->value(), 110);
        QCOMPARE(departures->rowCount(), 5);
        QCOMPARE(widget<QLabel>(boards, "partenzeNonMostrate")->text(),
                 QString("1 altro treno non è mostrato"));
        QCOMPARE(departures->item(0, 2)->text(), QString("2001"));
        QCOMPARE(departures->item(0, 5)->text(), QString("2")); // its track shows

        auto* delays = widget<QComboBox>(boards, "ritardiTabelloni");
        delays->setCurrentIndex(1); // the most, kept with the scenario's data
        QCOMPARE(departures->item(0, 4)->text(), QString("30"));
        QCOMPARE(window->logic().document().data().boards.delays, 1);
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla impostazioni dei tabelloni"));
        undo->trigger();
        QCOMPARE(delays->currentIndex(), 0);
        QVERIFY(departures->item(0, 4)->text().isEmpty());
        delays->setCurrentIndex(1);

        // A change in the editor shows at once: 2001 cancelled through "Perturbazioni…".
        dialogs.expect("perturbazioni", [](QDialog& dialog) {
            widget<QTimeEdit>(&dialog, "perturbaDalle")->setTime(QTime(7, 59));
            widget<QTimeEdit>(&dialog, "perturbaAlle")->setTime(QTime(8, 1));
            click(&dialog, "applicaPerturbazione");
        });
        window->findChild<QAction*>("actionPerturbazioni")->trigger();
        QCOMPARE(departures->item(0, 6)->text(), QString("Soppresso"));
        QVERIFY(departures->item(0, 5)->text().isEmpty());
        auto* announced = widget<QListWidget>(boards, "annunci");
        QVERIFY(announced->count() > 0);
        QVERIFY(announced->item(announced->count() - 1)->text().contains("2001"));

        const QRect cell = departures->visualItemRect(departures->item(1, 2));
        QTest::mouseClick(departures->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(departures->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(text("numero"), QString("2002"));
        screenshot(boards, "tabelloni");
        // The boards at that minute as a picture and as a page.
        for (const char* file : {"tabelloni.png", "tabelloni.pdf"}) {
            nextFile = QString::fromStdString(folder.file(file));
            click(boards, QString(file).endsWith("png") ? "esportaTabelloni" : "pdfTabelloni");
        }
        QCOMPARE(readBytes(folder.file("tabelloni.png")).substr(1, 3), std::string("PNG"));
        QCOMPARE(readBytes(folder.file("tabelloni.pdf")).substr(0, 4), std::string("%PDF"));
        // zebrano-tool draws the same page.
        std::ostringstream out, err;
        const ToolArguments arguments{"tabellone",
                                      folder.file("valmora.zeb"),
                                      {{"ora", "07:50"}, {"output", folder.file("tool.pdf")}}};
        QCOMPARE(runToolCommand(coreCommands({}, boardsPictureWriter()), arguments, out, err), 0);
        QCOMPARE(readBytes(folder.file("tool.pdf")).substr(0, 4), std::string("%PDF"));

        // Played at 60 times its pace, the day moves a minute a second, until stopped.
        auto* minute = widget<QSlider>(boards, "minutoTabelloni");
        const int from = minute->value();
        widget<QComboBox>(boards, "velocitaTabelloni")->setCurrentIndex(2);
        click(boards, "avviaTabelloni");
        QTRY_VERIFY_WITH_TIMEOUT(minute->value() > from, 5000);
        click(boards, "avviaTabelloni");
        const int stopped = minute->value();
        QTest::qWait(1200);
        QCOMPARE(minute->value(), stopped);
    }
};

QTEST_MAIN(BoardsWindowTest)
#include "boards_window_test.moc"
