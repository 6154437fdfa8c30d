#pragma once

#include "scenario_file/test_files.h"
#include "views/editor/editor_window.h"
#include "views/gui_helpers.h"
#include "views/timetable/occupancy_window.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

namespace zeb::test {

// An editor window on a scenario of its own, its questions answered by the test: message boxes
// from `messages`, file dialogs with `nextFile`, dialogs by `dialogs`. Each test class calls
// start() in its init() and stop() in its cleanup().
class GuiFixture {
protected:
    TempFolder folder;
    Scenario scenario;
    EditorWindow* window = nullptr;
    MessageRecorder messages;
    DialogAnswers dialogs;
    QString nextFile;

    void start() {
        QCoreApplication::setOrganizationName("ZebranoTest");
        scenario = Scenario{};
        messages = MessageRecorder{};
        dialogs = DialogAnswers{};
        window = new EditorWindow(scenario);
        messages.attach(window->prompts());
        dialogs.attach(window->prompts());
        window->prompts().onFileDialog = [this](const FileFilter&) {
            return std::optional<std::string>(nextFile.toStdString());
        };
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void stop() {
        delete window;
        window = nullptr;
        QVERIFY2(dialogs.expected.empty(), "a dialog expected did not come");
    }

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

    // NUOVO SCENARIO: station Valmora at 06:30 with the tracks 1, 2 and 1tronco.
    void openStation() {
        dialogs.expect("Form2", [](QDialog& dialog) {
            type(&dialog, "textstazione", "Valmora");
            type(&dialog, "orap", "06");
            type(&dialog, "minp", "30");
            for (const char* track : {"binario_0", "binario_1", "binario_23"})
                QTest::mouseClick(widget<QCheckBox>(&dialog, track), Qt::LeftButton);
            screenshot(&dialog, "station_dialog");
            click(&dialog, "ok");
        });
        click(window, "nuovo_scenario");
    }

    // The four trains of the sample, opened as APRI SCENARIO opens them.
    void openFourTrains() {
        dialogs.expectClick("Form2", "ok");
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

    void save(const QString& path) {
        nextFile = path;
        click(window, "salva");
    }
};

} // namespace zeb::test
