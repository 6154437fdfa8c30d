#include "scenario_file/scenario_writer.h"
#include "timetable/test_trains.h"
#include "views/gui_fixture.h"
#include "views/timetable/occupancy_chart_view.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

using namespace zeb;
using namespace zeb::test;

// "Rischio ritardi": the figures and the trains at risk, following the scenario and the settings
// of the runs, and leading to their trains.
class RiskWindowTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void theRisksFollowTheScenarioAndLeadToTheTrains() {
        // 2231 ends on track 1 at 10:00 and may be 30 minutes late; 2245 leaves it at 10:40.
        Scenario day = stationWith({{"2231", "Nordia", "10:00", "", "", "1"},
                                    {"2245", "", "", "Sudia", "10:40", "1"},
                                    {"3001", "Ovest", "12:00", "Est", "12:02", "2"}});
        day.nome_stazione = "Valmora";
        day.treni[0].ritardo = "2";
        day.treni[1].ritardo = day.treni[2].ritardo = "0";
        writeBytes(folder.file("valmora.zeb"), scenarioFileBytes(day));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("valmora.zeb"));

        QTest::keyClick(window, Qt::Key_F5);
        auto* risk = widget<QWidget>(window, "rischioRitardi");
        QVERIFY(QTest::qWaitForWindowExposed(risk));
        auto* summary = widget<QLabel>(risk, "riepilogoRischio");
        auto* table = widget<QTableView>(risk, "treniARischio");
        QTRY_VERIFY(summary->text().startsWith("1000 simulazioni con il seme 1: in media 0,"));
        QCOMPARE(table->model()->rowCount(), 3);
        const QString top = table->model()->index(0, 0).data().toString();
        QVERIFY(top == "2231" || top == "2245");
        QVERIFY(table->model()->index(0, 4).data().toString().startsWith("4"));
        QCOMPARE(table->model()->index(2, 0).data().toString(), QString("3001"));
        QCOMPARE(widget<QLabel>(risk, "binariRischio")->text().left(25),
                 QString("Binario 1: conflitti nel "));

        QTest::mouseClick(widget<QCheckBox>(risk, "massimoRischio"), Qt::LeftButton);
        QTRY_COMPARE(summary->text(),
                     QString("Con ogni treno al suo ritardo massimo: 1 conflitto"));
        QVERIFY(!widget<QSpinBox>(risk, "simulazioniRischio")->isEnabled());

        // A row leads to its train; an index of "0" there takes the risk away.
        QCOMPARE(table->model()->index(2, 0).data().toString(), QString("3001"));
        const int row = table->model()->index(0, 0).data().toString() == "2231" ? 0 : 1;
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(text("numero"), QString("2231"));
        choose("ritardo", "0");
        click(window, "modificatr");
        QTRY_COMPARE(summary->text(), QString("Con ogni treno al suo ritardo massimo: nessun "
                                              "conflitto"));
        screenshot(risk, "rischio_ritardi");

        nextFile = QString::fromStdString(folder.file("rischio.csv"));
        click(risk, "esportaRischio");
        QCOMPARE(readBytes(folder.file("rischio.csv")).substr(3, 40),
                 std::string("Treno;Ora;Binario;Indice ritardo;Quota c"));
    }

    // The checker warns of a pair that clashes in more runs than the threshold the settings hold:
    // the warning comes once the runs are done, and goes with the threshold raised again.
    void theCheckerWarnsOfPairsAtRisk() {
        Scenario day = stationWith(
            {{"2231", "Nordia", "10:00", "", "", "1"}, {"2245", "", "", "Sudia", "10:40", "1"}});
        day.treni[0].ritardo = "2"; // clashes in 42 % of the runs
        day.treni[1].ritardo = "0";
        writeBytes(folder.file("valmora.zeb"), scenarioFileBytes(day));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("valmora.zeb"));
        auto* indicator = widget<QToolButton>(window, "indicatoreVerifica");
        QCOMPARE(indicator->text(), QString("Nessun problema"));
        for (int threshold : {40, 50}) {
            dialogs.expect("impostazioniOrario", [threshold](QDialog& dialog) {
                widget<QSpinBox>(&dialog, "impostaSogliaRischio")->setValue(threshold);
                click(&dialog, "confermaImpostazioni");
            });
            window->findChild<QAction*>("actionImpostazioniOrario")->trigger();
            QTRY_COMPARE(indicator->text(),
                         threshold == 40 ? QString("1 avviso") : QString("Nessun problema"));
        }
    }

    // "Assegna binari" weighs the delays by default where a train may be late, and parts the
    // pair that clashes in 42 % of the runs; unticked, it says nothing of them.
    void theAssignmentWeighsTheDelays() {
        Scenario day = stationWith(
            {{"2231", "Nordia", "10:00", "", "", "1"}, {"2245", "", "", "Sudia", "10:40", "1"}});
        day.treni[0].ritardo = "2";
        day.treni[1].ritardo = "0";
        writeBytes(folder.file("valmora.zeb"), scenarioFileBytes(day));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("valmora.zeb"));
        dialogs.expect("assegnaBinari", [](QDialog& dialog) {
            auto* weigh = widget<QCheckBox>(&dialog, "riduciRischio");
            QVERIFY(weigh->isChecked() && weigh->isEnabled());
            auto* which = widget<QComboBox>(&dialog, "qualiTreni");
            which->setCurrentIndex(which->findText("Tutti i treni"));
            auto* preview = widget<QPlainTextEdit>(&dialog, "anteprimaAssegnazione");
            QVERIFY(preview->toPlainText().contains("Conflitti attesi con i ritardi: prima 0,"));
            QVERIFY(preview->toPlainText().contains(
                "per simulazione, dopo 0,0 (1000 simulazioni, seme 1)"));
            tick(&dialog, "riduciRischio");
            QVERIFY(!preview->toPlainText().contains("Conflitti attesi"));
            tick(&dialog, "riduciRischio");
            screenshot(&dialog, "assegna_binari");
            click(&dialog, "assegna");
        });
        window->findChild<QAction*>("actionAssegnaBinari")->trigger();
        QVERIFY(scenario.treni[0].binario != scenario.treni[1].binario);
    }

    // Closing the editor while a setting of the runs has the focus starts no run on a window
    // half gone (it crashed).
    void closingWithASettingInFocusIsQuiet() {
        openFourTrains();
        QTest::keyClick(window, Qt::Key_F5);
        auto* risk = widget<QWidget>(window, "rischioRitardi");
        QVERIFY(QTest::qWaitForWindowExposed(risk));
        risk->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), risk);
        auto* seed = widget<QSpinBox>(risk, "semeRischio");
        seed->setFocus();
        QTRY_VERIFY(seed->hasFocus());
        QTest::keyClick(seed, Qt::Key_2);
        stop();
        start();
    }

    // The chart shows each bar's possible delay on request, and says so in its legend.
    void theChartShowsTheDelaysOnRequest() {
        OccupancyChartView* chart = openFourTrainsChart();
        auto* occupancy = chart->window();
        auto* legend = widget<QLabel>(occupancy, "legendaGrafico");
        const QImage plain = chart->grab().toImage();
        QTest::mouseClick(widget<QCheckBox>(occupancy, "mostraRitardi"), Qt::LeftButton);
        QVERIFY(legend->text().endsWith("Cornice fucsia: a rischio di conflitto con i ritardi"));
        QVERIFY(chart->grab().toImage() != plain);
        screenshot(occupancy, "ritardi_grafico");
        QTest::mouseClick(widget<QCheckBox>(occupancy, "mostraRitardi"), Qt::LeftButton);
        QVERIFY(!legend->text().contains("Sfumato"));
        QCOMPARE(chart->grab().toImage(), plain);
    }
};

QTEST_MAIN(RiskWindowTest)
#include "risk_window_test.moc"
