#include "bulk_edit/bulk_edit.h"
#include "paper/paper_files.h"
#include "views/gui_fixture.h"
#include "views/timetable/train_table_window.h"
#include "views/tools/posters_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QRadioButton>

using namespace zeb;
using namespace zeb::test;

// The posters of departures and arrivals on paper, read back with pdftotext.
class PostersTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    // 2001 trains, of one stop or of fifteen with notes, at least forty to a page (51 pages at
    // most); the PDF holds the pages laid out, every number there to find.
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
            const std::string path = folder.file("partenze.pdf");
            const PaperFile written = writePostersPdf(path, scenario, {departuresPoster(scenario)});
            QVERIFY2(written.written(), written.error.c_str());
            QCOMPARE(pdfPages(path), written.pages);
            QVERIFY2(written.pages <= 51, qPrintable(QString::number(written.pages)));
            if (const char* shots = std::getenv("ZEB_SCREENSHOT_DIR"))
                QFile::copy(QString::fromStdString(path),
                            QString(shots) + (longStops ? "/lunghe.pdf" : "/brevi.pdf"));
            const QString all = pdfText(path);
            for (int i = 0; i < scenario.totale_treni; i += 7)
                QVERIFY2(all.contains(QString::fromStdString(scenario.treni[i].numero)),
                         scenario.treni[i].numero.c_str());
        }
    }

    // Both posters from the dialog: the departures, then the arrivals, each train of either
    // there to find; the README's pictures are taken over them.
    void thePostersGoToPdf() {
        openFourTrains();
        repeatTrain(scenario, 3, 10, 30, 2);
        PostersDialog dialog(scenario, window->prompts());
        widget<QRadioButton>(&dialog, "manifestoEntrambi")->setChecked(true);
        const std::string path = folder.file("manifesti.pdf");
        const PaperFile written = dialog.exportPdf(path);
        QVERIFY2(written.written(), written.error.c_str());
        QCOMPARE(written.pages, 2);
        QCOMPARE(pdfPages(path), 2);
        const QString text = pdfText(path);
        QVERIFY(text.contains("Valmora"));
        // On A3, valid from a day to another.
        widget<QComboBox>(&dialog, "formatoManifesti")->setCurrentText("A3");
        widget<QCheckBox>(&dialog, "validita")->setChecked(true);
        widget<QDateEdit>(&dialog, "validoDal")->setDate(QDate(2016, 4, 13));
        widget<QDateEdit>(&dialog, "validoAl")->setDate(QDate(2016, 6, 30));
        QVERIFY(dialog.exportPdf(folder.file("a3.pdf")).written());
        QVERIFY(pdfText(folder.file("a3.pdf")).contains("Valido dal 13/04/2016 al 30/06/2016"));
        QVERIFY(programOutput("pdfinfo", {QString::fromStdString(folder.file("a3.pdf"))})
                    .contains("(A3)"));
        for (int i = 0; i < scenario.totale_treni; ++i)
            QVERIFY2(text.contains(QString::fromStdString(scenario.treni[i].numero)),
                     scenario.treni[i].numero.c_str());
        if (const char* shots = std::getenv("ZEB_SCREENSHOT_DIR")) {
            dialog.exportPdf(std::string(shots) + "/manifesti.pdf");
            window->trainTable().showFindings();
            window->occupancy().show();
            window->occupancy().chart().showMinutes(6 * 60, 12 * 60); // the whole morning
            QTest::qWait(50);
            screenshot(&window->trainTable(), "quadro_treni");
            screenshot(&window->occupancy(), "occupazione_binari");
            window->occupancy().exportPdf(std::string(shots) + "/occupazione_binari.pdf");
            screenshot(window, "editor_menu");
        }
    }
};

QTEST_MAIN(PostersTest)
#include "posters_test.moc"
