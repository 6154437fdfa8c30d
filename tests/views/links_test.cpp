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

// Units that turn round: linked by the rule, typed into the train table, chosen in the chart.
class LinksTest : public QObject, protected GuiFixture {
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

private slots:

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
};

QTEST_MAIN(LinksTest)
#include "links_test.moc"
