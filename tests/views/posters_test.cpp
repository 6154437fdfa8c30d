#include "bulk_edit/bulk_edit.h"
#include "scenario_file/scenario_writer.h"
#include "views/gui_fixture.h"
#include "views/paper_files.h"
#include "views/posters_dialog.h"
#include "views/train_table_window.h"

#include <QFile>

using namespace zeb;
using namespace zeb::test;

// The posters of departures and arrivals on paper, read back with pdftotext.
class PostersTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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
        PostersDialog dialog(scenario, window->prompts());
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

QTEST_MAIN(PostersTest)
#include "posters_test.moc"
