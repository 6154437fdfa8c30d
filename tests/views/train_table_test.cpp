#include "bulk_edit/bulk_edit.h"
#include "scenario_file/scenario_writer.h"
#include "timetable/train_times.h"
#include "views/gui_fixture.h"
#include "views/timetable/train_table_model.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

using namespace zeb;
using namespace zeb::test;

// "Quadro treni": the table follows the editor and leads to its trains, takes the usual keys,
// and its commands change many trains at once.
class TrainTableTest : public QObject, protected GuiFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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
        dialogs.expect("ripetiTrenoDialogo", [](QDialog& dialog) {
            widget<QSpinBox>(&dialog, "ogniMinuti")->setValue(60);
            widget<QSpinBox>(&dialog, "quanteVolte")->setValue(10);
            widget<QSpinBox>(&dialog, "passoNumero")->setValue(2);
            auto* clashes = widget<QLabel>(&dialog, "conflittiRipetizione");
            QCOMPARE(clashes->text(), QString("Nessun conflitto."));
            widget<QSpinBox>(&dialog, "ogniMinuti")->setValue(5); // before OK, it says so
            QVERIFY2(clashes->text().startsWith("10 treni su 10 in conflitto, con 2231"),
                     qPrintable(clashes->text()));
            widget<QSpinBox>(&dialog, "ogniMinuti")->setValue(60);
            dialog.accept();
        });
        click(quadro, "ripetiTreno");
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1); // kept across the change
        QCOMPARE(scenario.totale_treni, 14);
        QCOMPARE(trainSummary(scenario.treni[13]).substr(0, 46),
                 std::string("2|2251|Borgo|Campo|Regionale/13|17.30|17.41|1|"));
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

    // The history's news reach the table as the narrowest signals: a one-train change and its
    // undo are one row changed each, and the selection and the scroll stay through "Sposta
    // orari", its undo and its redo, with no reset of the table.
    void undoAndRedoKeepTheSelectionAndTheScroll() {
        Scenario many = exampleScenario();
        repeatTrain(many, 0, 7, 150, 2);
        writeBytes(folder.file("many.zeb"), scenarioFileBytes(many));
        dialogs.expectClick("Form2", "ok");
        window->openScenarioFile(folder.file("many.zeb"));
        QTest::keyClick(window, Qt::Key_F2);
        auto* quadro = widget<QWidget>(window, "quadroTreni");
        QVERIFY(QTest::qWaitForWindowExposed(quadro));
        auto* table = widget<QTableView>(quadro, "tabellaTreni");
        auto* model = static_cast<const QSortFilterProxyModel*>(table->model())->sourceModel();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
        // The rows announced as changed whole (the findings' marks come with roles of their own).
        auto rowsChanged = [&changes] {
            QStringList rows;
            for (const QList<QVariant>& signal : changes) {
                if (signal.at(2).value<QList<int>>().isEmpty())
                    rows << QString("%1-%2")
                                .arg(signal.at(0).toModelIndex().row())
                                .arg(signal.at(1).toModelIndex().row());
            }
            changes.clear();
            rows.removeDuplicates(); // the highlight of the shown train comes and goes too
            return rows.join(' ');
        };
        auto* undo = window->findChild<QAction*>("actionAnnulla");
        auto* redo = window->findChild<QAction*>("actionRipeti");

        click(window, "tprecedente"); // the last train, 151
        type(window, "note", " bis");
        rowsChanged();
        click(window, "modificatr");
        QCOMPARE(rowsChanged(), QString("151-151"));
        undo->trigger();
        QCOMPARE(rowsChanged(), QString("151-151"));
        QCOMPARE(model->index(151, TrainTableModel::Note).data().toString(),
                 QString::fromStdString(many.treni[151].note));

        QItemSelection chosen(table->model()->index(40, 0), table->model()->index(50, 0));
        table->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
        table->verticalScrollBar()->setValue(30);
        const int scroll = table->verticalScrollBar()->value();
        QVERIFY(scroll > 0);
        dialogs.expect("spostaOrariDialogo", [](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            QVERIFY(input != nullptr);
            QVERIFY2(input->labelText().startsWith(
                         "Di quanti minuti spostare gli orari di 11 treni? (negativo: prima)"),
                     qPrintable(input->labelText()));
            input->setIntValue(-4);
            QVERIFY2(input->labelText().contains("in conflitto"), qPrintable(input->labelText()));
            input->setIntValue(3);
            dialog.accept();
        });
        click(quadro, "spostaOrari");
        QCOMPARE(undo->text(), QString("Annulla spostamento orari di 11 treni"));
        const int departure = *departureMinute(many.treni[40]);
        for (const auto& [act, minutes] :
             {std::pair<QAction*, int>{nullptr, 3}, {undo, 0}, {redo, 3}}) {
            if (act != nullptr)
                act->trigger();
            QCOMPARE(departureMinute(scenario.treni[40]), departure + minutes);
            QCOMPARE(rowsChanged(), QString("40-50"));
            QCOMPARE(table->selectionModel()->selectedRows().size(), 11);
            QCOMPARE(table->verticalScrollBar()->value(), scroll);
        }
        QCOMPARE(resets.size(), 0);
    }
};

QTEST_MAIN(TrainTableTest)
#include "train_table_test.moc"
