#include "paper/chart_painter.h"
#include "paper/paper_files.h"
#include "timetable/train_times.h"
#include "tool/paper_commands.h"
#include "views/gui_fixture.h"

#include <QAction>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <sstream>

using namespace zeb;
using namespace zeb::test;

// "Occupazione binari": the chart on screen, its drags and keys, its pictures and its pages on
// paper read back with pdftotext.
class OccupancyWindowTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void theChartShowsTheTracksAndLeadsToItsTrains() {
        auto* chart = openFourTrainsChart();
        QCOMPARE(chart->content().rows, (std::vector<std::string>{"1", "2", "Senza binario"}));

        // It opens on the busy hours: every train of the morning in sight.
        const auto [first, last] = chart->minutesInSight();
        QVERIFY2(first <= 7 * 60 + 34 && last >= 8 * 60 + 30,
                 qPrintable(QString("%1 %2").arg(first).arg(last)));

        // A click on the bar of 2233 (from 07:44, row of track 1) shows it in the editor and
        // marks it.
        const ChartMapping& m = chart->mapping();
        QTest::mouseClick(chart, Qt::LeftButton, {}, chartPoint(*chart, 7 * 60 + 48, 0));
        QCOMPARE(text("numero"), QString("2233"));
        QCOMPARE(chart->markedTrain(), 1);

        // Zoom keeps the moment under the pointer; the wheel scrolls the hours under the fixed
        // track names.
        const double x = m.x(8 * 60);
        chart->zoom(2.0, x);
        QCOMPARE(std::lround(chart->mapping().minuteAt(x)), 8L * 60);
        const QImage before = chart->grab().toImage();
        const int scrolled = chart->horizontalBar().value();
        QWheelEvent wheel(QPointF(x, 60), chart->mapToGlobal(QPointF(x, 60)), {}, {0, -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &wheel);
        QVERIFY(chart->horizontalBar().value() > scrolled);
        const QImage after = chart->grab().toImage();
        const QRect names(0, int(m.axisHeight) + 1, int(m.labelWidth) - 2, 60);
        QCOMPARE(after.copy(names), before.copy(names));
        QVERIFY(after != before);

        // "Giornata intera" brings the whole axis into sight.
        click(chart->window(), "giornataIntera");
        const auto [dayFirst, dayLast] = chart->minutesInSight();
        QVERIFY(dayFirst <= chart->content().firstMinute + 0.5);
        QVERIFY(dayLast >= chart->content().lastMinute - 0.5);

        // End and Home go to the day's last and first hours; a train the editor goes on to
        // show is brought into sight.
        auto& occupancy = window->occupancy();
        occupancy.resize(1000, 520); // whatever size the window was left at
        QApplication::processEvents();
        chart->zoom(4.0);
        QTest::keyClick(chart, Qt::Key_End);
        QCOMPARE(chart->horizontalBar().value(), chart->horizontalBar().maximum());
        QTest::keyClick(chart, Qt::Key_Home);
        QCOMPARE(chart->horizontalBar().value(), 0);
        QVERIFY(chart->minutesInSight().second < 7 * 60 + 45);
        click(window, "tprecedente"); // 2231, 07:30 to 07:45
        QCOMPARE(chart->markedTrain(), 0);
        const auto [from, to] = chart->minutesInSight();
        QVERIFY2(from <= 7 * 60 + 30 && to >= 7 * 60 + 45,
                 qPrintable(QString("%1 %2").arg(from).arg(to)));

        // The picture of the hours in sight or of the whole day, with its title and legend.
        const QImage menu = menuPicture(window);
        QVERIFY(occupancy.exportPng(folder.file("hours.png"), false).written());
        QVERIFY(occupancy.exportPng(folder.file("day.png"), true).written());
        const QImage hours(QString::fromStdString(folder.file("hours.png")));
        const QImage day(QString::fromStdString(folder.file("day.png")));
        QVERIFY(!hours.isNull());
        QVERIFY2(day.width() > hours.width(),
                 qPrintable(QString("%1 %2").arg(day.width()).arg(hours.width())));
        QCOMPARE(day.height(), hours.height());
        QCOMPARE(occupancy.exportPdf(folder.file("chart.pdf")).pages,
                 static_cast<int>(chartPages(chart->content(), 4).size()));
        QCOMPARE(readBytes(folder.file("chart.pdf")).substr(0, 5), std::string("%PDF-"));
        QCOMPARE(menuPicture(window), menu); // the paper's fonts are its own

        // On paper: a page per four hours, each train's number there as text.
        auto run = [&](const char* program, const char* file = "chart.pdf") {
            QProcess process;
            process.start(program, {QString::fromStdString(folder.file(file)), "-"});
            return process.waitForFinished() ? QString(process.readAllStandardOutput()) : QString();
        };
        // A short bar ending where a page ends has its number beside it on that page.
        Scenario shortStop = scenario;
        shortStop.treni[1].ora_arrivo = "7";
        shortStop.treni[1].min_arrivo = "59";
        shortStop.treni[1].ora_partenza = "8";
        shortStop.treni[1].min_partenza = "0";
        QVERIFY(
            writeChartPdf(folder.file("hour.pdf"), shortStop, chartContent(shortStop, {}), 1, false)
                .written());
        QVERIFY(run("pdftotext", "hour.pdf").contains("2233"));
        {
            // On the screen too, a number too long for its bar is written beside it.
            QPdfWriter screen(QString::fromStdString(folder.file("screen.pdf")));
            QPainter painter(&screen);
            paintOccupancyChart(painter, scenario, chart->content(),
                                mappingFor(chart->content(), 2.0));
        }
        QVERIFY(run("pdftotext", "screen.pdf").contains("2235"));
        // A hold across midnight: the day still ends at 24:00, and no window comes twice.
        Scenario night = scenario;
        night.treni[0].ora_arrivo = "23";
        night.treni[0].min_arrivo = "51";
        night.treni[0].ora_partenza = "0";
        night.treni[0].min_partenza = "1";
        QVERIFY(writeChartPdf(folder.file("night.pdf"), night, chartContent(night, {}), 4, false)
                    .written());
        QStringList titles;
        for (const auto& title : QRegularExpression("Dalle ..:.. alle ..:..")
                                     .globalMatch(run("pdftotext", "night.pdf")))
            titles << title.captured();
        QCOMPARE(titles.first() + " " + titles.last(),
                 "Dalle 00:00 alle 04:00 Dalle 20:00 alle 24:00");
        QCOMPARE(titles.removeDuplicates(), 0);
        const QString text = run("pdftotext");
        QCOMPARE(text.count("Pagina "), static_cast<int>(chartPages(chart->content(), 4).size()));
        QVERIFY(text.contains("Valmora — Occupazione binari"));
        for (int i = 0; i < scenario.totale_treni; ++i)
            QVERIFY2(text.contains(QString::fromStdString(scenario.treni[i].numero)),
                     scenario.treni[i].numero.c_str());
        // zebrano-tool writes the same pages without a window.
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(
            occupazioneCommand(folder.file("four.zeb"), folder.file("tool.pdf"), 4, "A4", out, err),
            0);
        QCOMPARE(out.str(), "1 pagina in " + folder.file("tool.pdf") + "\n");
        QCOMPARE(manifestiCommand(folder.file("four.zeb"),
                                  {true, folder.file("partenze.pdf"), "A4", {}, {}}, out, err),
                 0);
        QCOMPARE(readBytes(folder.file("partenze.pdf")).substr(0, 5), std::string("%PDF-"));
        QCOMPARE(menuPicture(window), menu);
        QCOMPARE(
            occupazioneCommand(folder.file("four.zeb"), folder.file("x.pdf"), 4, "A5", out, err),
            2);
        // From the tool's table: a line that does not fit the command writes nothing.
        const std::pair<ToolArguments, const char*> misuses[] = {
            {{"occupazione",
              folder.file("four.zeb"),
              {{"output", folder.file("y.pdf")}, {"ore", "4h"}}},
             "zebrano-tool occupazione: --ore vuole un numero da 1 a 24\n"},
            {{"manifesti", folder.file("four.zeb"), {{"output", folder.file("y.pdf")}}},
             "zebrano-tool: manifesti vuole --partenze o --arrivi, e -o MANIFESTO.pdf (vedi "
             "zebrano-tool --help)\n"},
            {{"occupazione", folder.file("four.zeb"), {{"output", folder.file("nessuna/y.pdf")}}},
             ""}};
        for (const auto& [arguments, message] : misuses) {
            std::ostringstream said;
            QCOMPARE(runToolCommand(paperCommands(), arguments, out, said), 2);
            if (*message != '\0')
                QCOMPARE(said.str(), std::string(message));
        }
        QVERIFY(!QFile::exists(QString::fromStdString(folder.file("y.pdf"))));
    }

    // Bars dragged to another track and along the axis, Esc, and the keys; each drop undoable.
    void trainsMovedInTheChart() {
        auto* chart = openFourTrainsChart();
        auto at = [chart](int minute, int row) { return chartPoint(*chart, minute, row); };
        auto drag = [chart](QPoint from, QPoint to, Qt::KeyboardModifiers keys,
                            bool escape = false) {
            QTest::mousePress(chart, Qt::LeftButton, keys, from);
            QTest::mouseEvent(QTest::MouseMove, chart, Qt::NoButton, keys, (from + to) / 2);
            QTest::mouseEvent(QTest::MouseMove, chart, Qt::NoButton, keys, to);
            screenshot(chart->window(), "trascinamento");
            if (escape)
                QTest::keyClick(chart, Qt::Key_Escape);
            QTest::mouseRelease(chart, Qt::LeftButton, keys, to);
        };
        auto undo = window->findChild<QAction*>("actionAnnulla");

        // The export keeps the name typed, with its extension.
        nextFile = QString::fromStdString(folder.file("grafico"));
        click(chart->window(), "esportaPdf");
        QCOMPARE(readBytes(folder.file("grafico.pdf")).substr(0, 5), std::string("%PDF-"));

        drag(at(7 * 60 + 48, 0), at(7 * 60 + 48, 1), {}); // 2233 from track 1 to 2
        QCOMPARE(scenario.treni[1].binario, std::string("2"));
        QCOMPARE(undo->text(), QString("Annulla spostamento treno 2233 sul binario 2"));
        drag(at(7 * 60 + 48, 1), at(7 * 60 + 48, 0), {}, true); // cancelled by Esc
        QCOMPARE(scenario.treni[1].binario, std::string("2"));
        drag(at(7 * 60 + 48, 1), at(7 * 60 + 58, 1), Qt::ShiftModifier); // ten minutes later
        QCOMPARE(arrivalMinute(scenario.treni[1]), 7 * 60 + 54);
        QCOMPARE(undo->text(), QString("Annulla spostamento treno 2233 di 10 minuti"));
        const std::string busTrack = scenario.treni[2].binario;
        drag(at(8 * 60 + 7, 2), at(8 * 60 + 7, 0), {}); // a bus takes no track
        QCOMPARE(scenario.treni[2].binario, busTrack);

        QTest::mouseClick(chart, Qt::LeftButton, {}, at(7 * 60 + 58, 1)); // 2233 chosen
        QTest::keyClick(chart, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(scenario.treni[1].binario, std::string("1"));
        QTest::keyClick(chart, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(arrivalMinute(scenario.treni[1]), 7 * 60 + 53);
        for (int step = 0; step < 4; ++step)
            undo->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("1"));
        QCOMPARE(arrivalMinute(scenario.treni[1]), 7 * 60 + 44);
    }

    // "Esporta PNG…" asks which part first: the whole day makes a wider picture than the hours in
    // sight, and Annulla writes nothing.
    void thePngAsksForTheHoursOrTheDay() {
        auto* chart = openFourTrainsChart();
        chart->zoom(4.0);
        for (const char* choice : {"oreVisibili", "interaGiornata"}) {
            dialogs.expectClick("partePng", choice);
            nextFile = QString::fromStdString(folder.file(choice)); // without its extension
            click(chart->window(), "esportaPng");
        }
        dialogs.expect("partePng", [](QDialog& dialog) { dialog.reject(); });
        nextFile = QString::fromStdString(folder.file("nulla.png"));
        click(chart->window(), "esportaPng");
        QVERIFY(!QFile::exists(nextFile));
        const QImage hours(QString::fromStdString(folder.file("oreVisibili.png")));
        const QImage day(QString::fromStdString(folder.file("interaGiornata.png")));
        QVERIFY(!hours.isNull() && !day.isNull());
        QVERIFY2(day.width() > hours.width(),
                 qPrintable(QString("%1 %2").arg(day.width()).arg(hours.width())));
    }
};

QTEST_MAIN(OccupancyWindowTest)
#include "occupancy_window_test.moc"
