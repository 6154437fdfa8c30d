#include "bulk_edit/bulk_edit.h"
#include "gtfs/valle_feed.h"
#include "model/track_slots.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"
#include "timetable/train_times.h"
#include "views/editor_window.h"
#include "views/export_prompt.h"
#include "views/gui_helpers.h"
#include "views/occupancy_window.h"
#include "views/paper_commands.h"
#include "views/paper_files.h"
#include "views/posters_dialog.h"
#include "views/recovery_writer.h"
#include "views/train_table_model.h"
#include "views/train_table_window.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <sstream>

using namespace zeb;
using namespace zeb::test;

// A user's whole session: a new station, two trains, save, close, open, browse, change,
// delete, save again; the files are compared byte for byte.
class EditorGuiTest : public QObject {
    Q_OBJECT

    TempFolder folder;
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
            for (const char* track : {"binario_0", "binario_1", "binario_23"})
                QTest::mouseClick(widget<QCheckBox>(&dialog, track), Qt::LeftButton);
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

    // The four trains of the sample, opened as APRI SCENARIO opens them.
    void openFourTrains() {
        window->prompts().onStationDialog = [](QDialog& dialog) { click(&dialog, "ok"); };
        writeBytes(folder.file("four.zeb"), sampleFile("four_trains.zeb"));
        window->openScenarioFile(folder.file("four.zeb"));
    }

    // The four trains' chart, on screen.
    OccupancyChartView* openFourTrainsChart() {
        openFourTrains();
        QTest::keyClick(window, Qt::Key_F3);
        auto* chart = &window->occupancy().chart();
        if (!QTest::qWaitForWindowExposed(chart->window()))
            qFatal("the chart is not on screen");
        return chart;
    }

    // The middle of `row` at `minute`, where the chart is now scrolled.
    static QPoint chartPoint(const OccupancyChartView& chart, int minute, int row) {
        const ChartMapping& m = chart.mapping();
        return QPoint(int(m.x(minute)), int(m.rowTop(row) + m.heightOf(row) / 2));
    }

    // The modal dialog `name` once it is on screen; null when another or none is up.
    static QDialog* modalDialog(const char* name) {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != name ||
            !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        return dialog;
    }

    void save(const QString& path) {
        nextFile = path;
        click(window, "salva");
    }

private slots:
    void init() {
        QCoreApplication::setOrganizationName("ZebranoTest");
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
        openStation();
        enterRegionale();
        enterAutobus();

        const QString first = QString::fromStdString(folder.file("valmora.zeb"));
        save(first);
        QVERIFY(messages.shown.empty());
        QCOMPARE(readBytes(first.toStdString()), exampleFileBytes());

        messages.answers = {Answer::Yes};
        click(window, "chiudi");

        window->prompts().onStationDialog = [](QDialog& dialog) {
            QCOMPARE(widget<QLineEdit>(&dialog, "textstazione")->text(), QString("Valmora"));
            QVERIFY(widget<QCheckBox>(&dialog, "binario_23")->isChecked());
            click(&dialog, "ok");
        };
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
        messages.answers = {Answer::Discard};
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(!QFile::exists(copy));
    }

    void theTableFollowsTheEditorAndLeadsToItsTrains() {
        openFourTrains();
        auto* indicator = widget<QToolButton>(window, "indicatoreVerifica");
        QCOMPARE(indicator->text(), QString("1 errore"));
        QTest::keyClick(window, Qt::Key_F2);
        auto* quadro = widget<QWidget>(window, "quadroTreni");
        QVERIFY(QTest::qWaitForWindowExposed(quadro));
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 4 di 4 treni"));
        auto* table = widget<QTableView>(quadro, "tabellaTreni");
        QAbstractItemModelTester tester(
            const_cast<QAbstractItemModel*>(
                static_cast<const QSortFilterProxyModel*>(table->model())->sourceModel()),
            QAbstractItemModelTester::FailureReportingMode::QtTest);

        // Sorted by departure: the times in order, the bus without one last; the conflict marked.
        auto* header = table->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(TrainTableModel::Partenza) + 4, 4));
        QStringList numbers;
        for (int row = 0; row < 4; ++row)
            numbers << table->model()->index(row, TrainTableModel::Numero).data().toString();
        QCOMPARE(numbers.join(' '), QString("2235 2231 2233 88"));
        QVERIFY(!table->model()->index(0, 0).data(Qt::DecorationRole).isValid() &&
                table->model()->index(1, 0).data(Qt::DecorationRole).isValid());

        type(quadro, "filtroTreni", "BORGO");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 2 di 4 treni"));

        // Activating a row shows the train; the highlight follows the step buttons.
        const QPoint middle = table->visualRect(table->model()->index(1, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(text("numero"), QString("2233"));
        QTRY_COMPARE(text("postreno"), QString("2"));
        QVERIFY(table->model()->index(1, 0).data(Qt::BackgroundRole).isValid());
        click(window, "tprecedente");
        QVERIFY(!table->model()->index(1, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(table->model()->index(0, 0).data(Qt::BackgroundRole).isValid());

        // A change is in the table and the checker at once; the selection stays.
        table->selectRow(0);
        widget<QLineEdit>(window, "minp")->setText("41");
        click(window, "modificatr");
        QCOMPARE(indicator->text(), QString("Nessun problema"));
        QCOMPARE(table->model()->index(0, TrainTableModel::Partenza).data().toString(),
                 QString("07:41"));
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        screenshot(quadro, "quadro_treni");

        // A new train and a deletion reach the table as a row inserted and a row removed.
        click(window, "nuovotreno");
        type(window, "numero", "Borgo 1");
        QTRY_VERIFY(widget<QWidget>(window, "inseriscitreno")->isEnabled());
        click(window, "inseriscitreno");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 3 di 5 treni"));
        click(window, "tprecedente");
        messages.answers = {Answer::Yes};
        click(window, "cancellatreno");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 2 di 4 treni"));

        // Ripeti treno: 2231 every 60 minutes, 10 times, numbers 2233, 2235, ...
        widget<QLineEdit>(quadro, "filtroTreni")->clear();
        type(quadro, "filtroTreni", "2231");
        table->selectRow(0);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            widget<QSpinBox>(dialog, "ogniMinuti")->setValue(60);
            widget<QSpinBox>(dialog, "quanteVolte")->setValue(10);
            widget<QSpinBox>(dialog, "passoNumero")->setValue(2);
            auto* clashes = widget<QLabel>(dialog, "conflittiRipetizione");
            QCOMPARE(clashes->text(), QString("Nessun conflitto."));
            widget<QSpinBox>(dialog, "ogniMinuti")->setValue(5); // before OK, it says so
            QVERIFY2(clashes->text().startsWith("10 treni su 10 in conflitto, con 2231"),
                     qPrintable(clashes->text()));
            widget<QSpinBox>(dialog, "ogniMinuti")->setValue(60);
            dialog->accept();
        });
        click(quadro, "ripetiTreno");
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1); // kept across the change
        QCOMPARE(scenario.totale_treni, 14);
        QCOMPARE(trainSummary(scenario.treni[13]).substr(0, 46),
                 std::string("2|2251|Borgo|Campo|Regionale/13|17.30|17.41|1|"));
    }

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
        QVERIFY(occupancy.exportPng(QString::fromStdString(folder.file("hours.png")), false));
        QVERIFY(occupancy.exportPng(QString::fromStdString(folder.file("day.png")), true));
        const QImage hours(QString::fromStdString(folder.file("hours.png")));
        const QImage day(QString::fromStdString(folder.file("day.png")));
        QVERIFY(!hours.isNull());
        QVERIFY2(day.width() > hours.width(),
                 qPrintable(QString("%1 %2").arg(day.width()).arg(hours.width())));
        QCOMPARE(day.height(), hours.height());
        QVERIFY(occupancy.exportPdf(QString::fromStdString(folder.file("chart.pdf"))));
        QCOMPARE(readBytes(folder.file("chart.pdf")).substr(0, 5), std::string("%PDF-"));

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
        QVERIFY(writeChartPdf(QString::fromStdString(folder.file("hour.pdf")), shortStop,
                              chartContent(shortStop, {}), 1, false));
        QVERIFY(run("pdftotext", "hour.pdf").contains("2233"));
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
        QCOMPARE(
            manifestiCommand(folder.file("four.zeb"), true, folder.file("partenze.pdf"), out, err),
            0);
        QCOMPARE(readBytes(folder.file("partenze.pdf")).substr(0, 5), std::string("%PDF-"));
        QCOMPARE(
            occupazioneCommand(folder.file("four.zeb"), folder.file("x.pdf"), 4, "A5", out, err),
            2);
    }

    // The keys of a desktop editor in the table: Ctrl+F, Delete with its question over the
    // table, Ctrl+Y; Tab leaves the table; times read HH:MM.
    void theTableTakesTheUsualKeys() {
        openFourTrains();
        QTest::keyClick(window, Qt::Key_F2);
        auto* quadro = widget<QWidget>(window, "quadroTreni");
        QVERIFY(QTest::qWaitForWindowExposed(quadro));
        auto* table = widget<QTableView>(quadro, "tabellaTreni");
        QCOMPARE(table->model()->index(3, TrainTableModel::Arrivo).data().toString(),
                 QString("06:10"));
        // The windows fit the screen (800 x 600 offscreen), whatever size they would like.
        const QRect screen = quadro->screen()->availableGeometry();
        QVERIFY(screen.contains(quadro->geometry()));
        QVERIFY(screen.contains(window->occupancy().geometry()));
        table->setFocus();
        QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(widget<QLineEdit>(quadro, "filtroTreni")->hasFocus());
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Tab);
        QVERIFY(!table->hasFocus());

        table->selectRow(0);
        table->setFocus();
        QWidget* askedOver = nullptr;
        window->prompts().onMessage = [&](const DialogPrompts::Message& message) {
            askedOver = window->prompts().parentWindow();
            messages.shown.push_back(message);
            return Answer::Yes;
        };
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(messages.shown.back().text, std::string("Eliminare 1 treno (2231)?"));
        QCOMPARE(askedOver, quadro);
        QCOMPARE(scenario.totale_treni, 3);
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla eliminazione di 1 treno"));
        undo->trigger();
        QCOMPARE(scenario.totale_treni, 4);
        quadro->close();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        widget<QWidget>(window, "salva")->setFocus(); // a text box would redo its own typing
        QTest::keyClick(widget<QWidget>(window, "salva"), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(scenario.totale_treni, 3);
    }

    // A train with its own indication, reached from a bus by the table, keeps it through the
    // refresh and a confirmed change.
    void anIndicationStaysAfterAJumpFromABus() {
        std::string bytes = sampleFile("four_trains.zeb");
        const auto last = bytes.rfind("Indicazioni Sussidiarie = 0");
        bytes.replace(last, 27, "Indicazioni Sussidiarie = 6");
        writeBytes(folder.file("classi.zeb"), bytes);
        window->prompts().onStationDialog = [](QDialog& dialog) { click(&dialog, "ok"); };
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
        exportFileHook() = [this] { return QString::fromStdString(folder.file("grafico")); };
        click(chart->window(), "esportaPdf");
        exportFileHook() = nullptr;
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

    // A day of a feed of our own through the import dialog, into the table, and back by undo.
    void aFeedsDayThroughTheImportDialog() {
        openStation();
        QDir().mkpath(QString::fromStdString(folder.file("feed")));
        for (const auto& [name, text] : valleFeed())
            writeBytes(folder.file("feed/" + name), text);
        nextFile = QString::fromStdString(folder.file("feed/stops.txt"));
        window->prompts().onStationDialog = [](QDialog& dialog) { click(&dialog, "ok"); };
        QTimer::singleShot(0, this, [this] {
            auto* dialog = modalDialog("importaGtfs");
            QVERIFY(dialog != nullptr);
            const auto closeOnFailure = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            widget<QDateEdit>(dialog, "dataServizio")->setDate(QDate(2024, 3, 6));
            type(dialog, "cercaStazione", "valm");
            auto* stations = widget<QTableView>(dialog, "elencoStazioni");
            QCOMPARE(stations->model()->rowCount(), 1);
            QTest::mouseClick(stations->viewport(), Qt::LeftButton, {},
                              stations->visualRect(stations->model()->index(0, 0)).center());
            auto* preview = widget<QTableWidget>(dialog, "anteprima");
            QTRY_COMPARE(preview->rowCount(), 3);
            QCOMPARE(preview->item(1, 0)->text() + " " + preview->item(1, 4)->text(),
                     QString("2231 07:55"));
            widget<QComboBox>(dialog, "categoriaGtfs0")->setCurrentText("Regionale");
            QTRY_COMPARE(preview->item(1, 1)->text(), QString("Regionale"));
            tick(dialog, "usaStazioneFeed");
            screenshot(dialog, "importa_gtfs");
            click(dialog, "importa");
        });
        window->findChild<QAction*>("actionImportaGtfs")->trigger();
        QCOMPARE(scenario.totale_treni, 3);
        QCOMPARE(stationTrackNames(scenario), (std::vector<std::string>{"1", "2"}));
        QCOMPARE(scenario.treni[1].categoria, std::string("Regionale"));
        QCOMPARE(window->trainTable().findChild<QTableView*>()->model()->rowCount(), 3);
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla importazione GTFS di 3 treni"));
        undo->trigger();
        QCOMPARE(scenario.totale_treni, 0);
        QCOMPARE(stationTrackNames(scenario), (std::vector<std::string>{"1", "2", "1tronco"}));
    }

    // The conflict of the sample mended by "Assegna binari…", and given back by undo.
    void tracksAssignedThroughTheDialog() {
        openFourTrains();
        QTimer::singleShot(0, this, [] {
            auto* dialog = modalDialog("assegnaBinari");
            QVERIFY(dialog != nullptr);
            const auto closeOnFailure = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            auto* preview = widget<QPlainTextEdit>(dialog, "anteprimaAssegnazione");
            QCOMPARE(preview->toPlainText(), QString("Nessun treno cambia binario."));
            widget<QComboBox>(dialog, "qualiTreni")->setCurrentIndex(1); // in conflict
            QCOMPARE(preview->toPlainText(), QString("2233 07:44: 1 → 2"));
            tick(dialog, "binarioAmmesso_2");
            QVERIFY2(preview->toPlainText().startsWith("Nessun treno cambia binario."),
                     qPrintable(preview->toPlainText()));
            tick(dialog, "binarioAmmesso_2");
            screenshot(dialog, "assegna_binari");
            click(dialog, "assegna");
        });
        window->findChild<QAction*>("actionAssegnaBinari")->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("2"));
        QVERIFY(!widget<QToolButton>(window, "indicatoreVerifica")->text().contains("errore"));
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        QCOMPARE(undo->text(), QString("Annulla assegnazione binari di 1 treno"));
        undo->trigger();
        QCOMPARE(scenario.treni[1].binario, std::string("1"));
    }

    // 2001 departures take no more than 51 pages (40 and more a page), every number readable.
    // 2001 trains, of one stop or of fifteen with notes, at least forty to a page; every number
    // there to find.
    void thePostersHoldFortyTrainsAPage() {
        openFourTrains();
        repeatTrain(scenario, 3, 1, kMaxTrains - scenario.totale_treni, 2);
        const std::string fifteen = "Pieve,Rocca,Torre,Borgo San Donato,Campo,Valle Alta,Monte,"
                                    "Ponte,Castello,Porto Nuovo,Lago,Bosco,Colle,Prato,Fonte,.";
        for (const bool longStops : {false, true}) {
            for (int i = 0; longStops && i < scenario.totale_treni; ++i) {
                scenario.treni[i].fermate = fifteen;
                scenario.treni[i].note = "Ferma a richiesta";
            }
            const QString path = QString::fromStdString(folder.file("partenze.pdf"));
            QVERIFY(writePostersPdf(path, scenario, {departuresPoster(scenario)}));
            QProcess info;
            info.start("pdfinfo", {path});
            QVERIFY(info.waitForFinished());
            const int pages = QString(info.readAllStandardOutput())
                                  .section("Pages:", 1)
                                  .section('\n', 0, 0)
                                  .trimmed()
                                  .toInt();
            qInfo("%d pagine per 2001 treni", pages);
            if (const char* shots = std::getenv("ZEB_SCREENSHOT_DIR"))
                QFile::copy(path, QString(shots) + (longStops ? "/lunghe.pdf" : "/brevi.pdf"));
            QVERIFY2(pages > 0 && pages <= 51, qPrintable(QString::number(pages)));
            QProcess text;
            text.start("pdftotext", {path, "-"});
            QVERIFY(text.waitForFinished());
            const QString all = text.readAllStandardOutput();
            for (int i = 0; i < scenario.totale_treni; i += 97)
                QVERIFY(all.contains(QString::fromStdString(scenario.treni[i].numero)));
        }
    }

    // Enough departures for a second poster page; the README's pictures are taken over them.
    void thePostersGoToPdf() {
        openFourTrains();
        repeatTrain(scenario, 3, 10, 30, 2);
        writeBytes(folder.file("many.zeb"), scenarioFileBytes(scenario));
        window->openScenarioFile(folder.file("many.zeb"));
        PostersDialog dialog(scenario);
        QVERIFY(dialog.exportPdf(QString::fromStdString(folder.file("manifesti.pdf"))));
        QCOMPARE(readBytes(folder.file("manifesti.pdf")).substr(0, 5), std::string("%PDF-"));
        if (const char* shots = std::getenv("ZEB_SCREENSHOT_DIR")) {
            dialog.exportPdf(QString(shots) + "/manifesti.pdf");
            window->trainTable().showFindings();
            window->occupancy().show();
            window->occupancy().chart().showMinutes(6 * 60, 12 * 60); // the whole morning
            QTest::qWait(50);
            screenshot(&window->trainTable(), "quadro_treni");
            screenshot(&window->occupancy(), "occupazione_binari");
            window->occupancy().exportPdf(QString(shots) + "/occupazione_binari.pdf");
            screenshot(window, "editor_menu");
        }
    }
};

QTEST_MAIN(EditorGuiTest)
#include "editor_gui_test.moc"
