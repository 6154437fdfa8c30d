#include "scenario_file/test_files.h"
#include "views/editor_window.h"
#include "views/gui_helpers.h"
#include "views/occupancy_window.h"
#include "views/posters_dialog.h"
#include "views/timetable_watch.h"
#include "views/train_table_model.h"
#include "views/train_table_window.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QListWidget>
#include <QMenuBar>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using namespace zeb;
using namespace zeb::test;

namespace {

void filterText(QWidget* window, const QString& text) {
    auto* box = widget<QLineEdit>(window, "filtroTreni");
    box->clear();
    type(window, "filtroTreni", text);
}

std::string block(const std::string& type, const std::string& numero, const std::string& dest,
                  const std::string& prov, const std::string& cat, const std::string& arr,
                  const std::string& par, const std::string& track) {
    return crlfLines({"", "Prossimo treno:", "Tipologia di treno = " + type,
                      "Numero Treno = " + numero, "Destinazione = " + dest, "Provenienza = " + prov,
                      "Categoria = " + cat, "Arrivo = " + arr, "Partenza = " + par,
                      "Binario = " + track, "Indice Ritardo = 0", "Fermate Successive = Pieve,.",
                      "Indicazioni Sussidiarie = 0", "Note al treno = "});
}

// Four trains: two in conflict on track 1, a bus ending here, an early Intercity on track 2.
std::string fourTrains() {
    return crlfLines({"Stazione di = Valmora", "Ora inizio simulazione = 06.00.00",
                      "Numero binari stazione = 2", "Numeri binari stazione = 1,2,."}) +
           block("2", "2231", "Borgo", "Campo", "Regionale", "07.30", "07.45", "1") +
           block("2", "2233", "Borgo", "Campo", "Regionale", "07.44", "07.50", "1") +
           block("1", "88", "-", "Pieve", "Autobus", "08.05", "-", "99") +
           block("2", "2235", "Rocca", "Pieve", "Intercity", "06.10", "06.12", "2");
}

} // namespace

class TrainTableTest : public QObject {
    Q_OBJECT

private slots:
    void theTableFollowsTheEditorAndLeadsToItsTrains() {
        TempFolder folder;
        writeBytes(folder.file("four.zeb"), fourTrains());
        Scenario scenario;
        EditorWindow window(scenario);
        MessageRecorder messages;
        messages.attach(window.prompts());
        window.prompts().onStationDialog = [](QDialog& dialog) { click(&dialog, "ok"); };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!widget<QWidget>(&window, "indicatoreVerifica")->isEnabled());

        window.openScenarioFile(folder.file("four.zeb"));
        auto* indicator = widget<QToolButton>(&window, "indicatoreVerifica");
        QCOMPARE(indicator->text(), QString("1 problema"));

        QTest::keyClick(&window, Qt::Key_F2);
        auto* quadro = widget<QWidget>(&window, "quadroTreni");
        QVERIFY(QTest::qWaitForWindowExposed(quadro));
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 4 di 4 treni"));
        auto* table = widget<QTableView>(quadro, "tabellaTreni");
        QAbstractItemModelTester tester(
            const_cast<QAbstractItemModel*>(
                static_cast<const QSortFilterProxyModel*>(table->model())->sourceModel()),
            QAbstractItemModelTester::FailureReportingMode::QtTest);

        // Sorted by departure: the times in order, the bus without one last.
        auto* header = table->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(TrainTableModel::Partenza) + 4, 4));
        QStringList numbers;
        for (int row = 0; row < 4; ++row)
            numbers << table->model()->index(row, TrainTableModel::Numero).data().toString();
        QCOMPARE(numbers.join(' '), QString("2235 2231 2233 88"));
        QVERIFY(!table->model()->index(0, 0).data(Qt::DecorationRole).isValid());
        QVERIFY(table->model()->index(1, 0).data(Qt::DecorationRole).isValid());

        type(quadro, "filtroTreni", "BORGO");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 2 di 4 treni"));

        // Activating a row shows the train as the step buttons would.
        const QModelIndex second = table->model()->index(1, TrainTableModel::Numero);
        QCOMPARE(second.data().toString(), QString("2233"));
        const QPoint middle = table->visualRect(second).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(widget<QLineEdit>(&window, "numero")->text(), QString("2233"));
        QTRY_COMPARE(widget<QLineEdit>(&window, "postreno")->text(), QString("2"));
        QVERIFY(!widget<QWidget>(&window, "copri")->isVisible());
        QVERIFY(widget<QWidget>(&window, "modificatr")->isVisible());
        QVERIFY(widget<QWidget>(&window, "cancellatreno")->isEnabled());
        QVERIFY(widget<QWidget>(&window, "tprecedente")->isEnabled());
        QVERIFY(widget<QWidget>(&window, "tsuccessivo")->isEnabled());
        QVERIFY(table->model()->index(1, 0).data(Qt::BackgroundRole).isValid());

        click(&window, "tprecedente"); // the highlight follows, to 2231
        QVERIFY(!table->model()->index(1, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(table->model()->index(0, 0).data(Qt::BackgroundRole).isValid());

        // A change is in the table and the checker at once; the selection stays.
        table->selectRow(0);
        type(&window, "minp", "");
        widget<QLineEdit>(&window, "minp")->setText("41");
        click(&window, "modificatr");
        QCOMPARE(indicator->text(), QString("Nessun problema"));
        QCOMPARE(table->model()->index(0, TrainTableModel::Partenza).data().toString(),
                 QString("07:41"));
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        screenshot(quadro, "quadro_treni");

        // During the entry of a new train no jump is offered; the new train and a deletion reach
        // the table as a row inserted and a row removed.
        click(&window, "nuovotreno");
        table->setCurrentIndex(table->model()->index(0, 1));
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY(widget<QLineEdit>(&window, "numero")->text().isEmpty());
        type(&window, "numero", "Borgo 1");
        QTRY_VERIFY(widget<QWidget>(&window, "inseriscitreno")->isEnabled());
        click(&window, "inseriscitreno");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 3 di 5 treni"));
        click(&window, "tprecedente");
        messages.answers = {Answer::Yes};
        click(&window, "cancellatreno");
        QCOMPARE(quadro->windowTitle(), QString("Quadro treni - 2 di 4 treni"));

        // Ripeti treno: 2231 every 60 minutes, 10 times, numbers 2233, 2235, ...
        filterText(quadro, "2231");
        table->selectRow(0);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            widget<QSpinBox>(dialog, "ogniMinuti")->setValue(60);
            widget<QSpinBox>(dialog, "quanteVolte")->setValue(10);
            widget<QSpinBox>(dialog, "passoNumero")->setValue(2);
            dialog->accept();
        });
        click(quadro, "ripetiTreno");
        QCOMPARE(scenario.totale_treni, 14);
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1); // kept across the change
        QCOMPARE(scenario.treni[13].numero + " " + scenario.treni[13].ora_partenza + ":" +
                     scenario.treni[13].min_partenza,
                 std::string("2251 17:41"));
    }

    void theChartShowsTheTracksAndLeadsToItsTrains() {
        TempFolder folder;
        writeBytes(folder.file("four.zeb"), fourTrains());
        Scenario scenario;
        EditorWindow window(scenario);
        window.prompts().onStationDialog = [](QDialog& dialog) { click(&dialog, "ok"); };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openScenarioFile(folder.file("four.zeb"));

        QTest::keyClick(&window, Qt::Key_F3);
        QVERIFY(widget<QWidget>(&window, "graficoOccupazione")->isVisible());
        auto* chart = &window.occupancy().chart();
        QVERIFY(QTest::qWaitForWindowExposed(chart->window()));
        QCOMPARE(chart->content().rows, (std::vector<std::string>{"1", "2", "Senza binario"}));
        int conflicts = 0;
        for (const ChartBar& bar : chart->content().bars)
            conflicts += bar.conflict;
        QCOMPARE(conflicts, 2);

        // A click on the bar of 2233 (from 07:44, row of track 1) shows it in the editor.
        const ChartMapping& m = chart->mapping();
        QTest::mouseClick(chart, Qt::LeftButton, {},
                          QPoint(int(m.x(7 * 60 + 48)), int(m.rowTop(0) + m.rowHeight / 2)));
        QCOMPARE(widget<QLineEdit>(&window, "numero")->text(), QString("2233"));

        // The picture follows a change and goes to PNG and PDF through the same drawing.
        const int width = chart->width();
        chart->zoom(2.0);
        QVERIFY(chart->width() > width);
        auto& occupancy = window.occupancy();
        QVERIFY(occupancy.exportPng(QString::fromStdString(folder.file("chart.png"))));
        QCOMPARE(QImage(QString::fromStdString(folder.file("chart.png"))).size(), chart->size());
        QVERIFY(occupancy.exportPdf(QString::fromStdString(folder.file("chart.pdf"))));
        QCOMPARE(readBytes(folder.file("chart.pdf")).substr(0, 5), std::string("%PDF-"));
        if (const char* shots = std::getenv("ZEB_SCREENSHOT_DIR")) {
            chart->zoom(0.5);
            screenshot(&occupancy, "occupazione_binari");
            occupancy.exportPdf(QString(shots) + "/occupazione_binari.pdf");
        }
    }

    void thePostersGoToPdf() {
        TempFolder folder;
        std::string file = fourTrains();
        for (int i = 0; i < 30; ++i) // enough departures for a second page
            file += block("0", std::to_string(3000 + i), "Milano Centrale", "-", "Regionale", "-",
                          std::to_string(10 + i / 6) + "." + std::to_string(i % 6 * 10), "2");
        Scenario scenario = loadBytes(file);
        PostersDialog dialog(scenario);
        const QString path = QString::fromStdString(folder.file("manifesti.pdf"));
        QVERIFY(dialog.exportPdf(path));
        const std::string pdf = readBytes(path.toStdString());
        QCOMPARE(pdf.substr(0, 5), std::string("%PDF-"));
        const char* shots = std::getenv("ZEB_SCREENSHOT_DIR");
        if (shots == nullptr)
            return;
        // The pictures of the README: the three windows over this scenario.
        dialog.exportPdf(QString(shots) + "/manifesti.pdf");
        writeBytes(folder.file("many.zeb"), file);
        EditorWindow window(scenario);
        window.prompts().onStationDialog = [](QDialog& station) { click(&station, "ok"); };
        window.show();
        window.openScenarioFile(folder.file("many.zeb"));
        window.trainTable().showFindings();
        window.occupancy().show();
        window.occupancy().chart().zoom(0.4); // the whole morning in sight
        QTest::qWait(50);
        screenshot(&window.trainTable(), "quadro_treni");
        screenshot(&window.occupancy(), "occupazione_binari");
        screenshot(&window, "editor_menu");
    }
};

QTEST_MAIN(TrainTableTest)
#include "train_table_gui_test.moc"
