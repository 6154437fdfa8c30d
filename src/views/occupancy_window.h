#pragma once

#include "timetable/occupancy_chart.h"
#include "views/timetable_watch.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QScrollArea;
class QSpinBox;

namespace zeb {

class OccupancyChartView;

// What the chart asks of the editor: to show a train (answering whether it could), and to move
// one to another track (none: it keeps its own) and by some minutes.
struct ChartCommands {
    std::function<bool(int)> showTrain;
    std::function<void(int train, const std::string& track, int minutes)> moveTrain;
};

// "Occupazione binari": how the station's tracks are held through the day. It follows every
// change of the scenario; a click on a bar shows that train in the editor. A bar dragged to
// another track's row takes that track, dragged with Shift it moves in time. Zoom with Ctrl and
// the wheel or the buttons; the picture is exported to PNG or PDF or printed through the same
// drawing.
class OccupancyWindow : public QWidget {
public:
    OccupancyWindow(TimetableWatch& watch, ChartCommands commands, QWidget* parent = nullptr);

    OccupancyChartView& chart() { return *chart_; }
    // Write the chart to a file; false when it cannot be written.
    bool exportPng(const QString& path);
    bool exportPdf(const QString& path);

private:
    void print();
    QString suggested(const char* extension) const;

    TimetableWatch& watch_;
    OccupancyChartView* chart_;
    QScrollArea* scroll_;
    QComboBox* paper_;
    QSpinBox* hours_;
};

// The chart on the screen: it repaints after every change and answers the pointer. While a
// bar is dragged its place on the drop is shown, red where it would clash; Esc cancels. With a
// bar chosen, Alt+Up and Alt+Down move it one track, Alt+Left and Alt+Right one minute.
class OccupancyChartView : public QWidget {
public:
    OccupancyChartView(TimetableWatch& watch, ChartCommands commands, QWidget* parent = nullptr);

    const ChartContent& content() const { return content_; }
    const ChartMapping& mapping() const { return mapping_; }
    void zoom(double factor);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override; // tooltips
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Where a dragged bar would go.
    struct Drop {
        int train;
        int row;
        std::string track; // "" for its own
        int minutes;
        bool allowed;
        bool clashes;
    };
    void rebuild();
    void follow(QPointF position, bool inTime);
    void cancelDrag();
    void paintDrop(QPainter& painter) const;
    std::optional<int> barOfTrain(int train) const;
    int stationTrackRows() const;

    TimetableWatch& watch_;
    ChartCommands commands_;
    std::optional<int> pressed_; // the bar under the press
    QPointF pressedAt_;
    std::optional<Drop> drop_;
    int chosenTrain_ = -1;
    ChartContent content_;
    ChartMapping mapping_;
    double pixelsPerMinute_ = 4.0;
};

} // namespace zeb
