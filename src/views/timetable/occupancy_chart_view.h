#pragma once

#include "layout/occupancy_chart.h"
#include "views/timetable/timetable_watch.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <utility>

class QScrollBar;

namespace zeb {

// What the chart asks of the editor: to show a train (answering whether it could), to move one
// to another track (none: it keeps its own) and by some minutes, and to link one to the train
// chosen in a list or unlink it.
struct ChartCommands {
    std::function<bool(int)> showTrain;
    std::function<void(int train, const std::string& track, int minutes)> moveTrain;
    std::function<void(int train, LinkSide side)> chooseLink;
    std::function<void(int train)> unlink;
};

// The chart on the screen: it repaints after every change and answers the pointer. The track
// names stay on the left and the hours on top while the bars scroll under them. It opens on the
// busiest hours, with the train the editor shows marked. While a bar is dragged its place on the
// drop is shown, red where it would clash; Esc cancels. With a bar chosen, Alt+Up and Alt+Down
// move it one track, Alt+Left and Alt+Right one minute; the arrows alone scroll. A train the
// editor goes on to show is marked and brought into sight.
class OccupancyChartView : public QWidget {
public:
    OccupancyChartView(TimetableWatch& watch, ChartCommands commands, QWidget* parent = nullptr);

    const ChartContent& content() const { return content_; }
    const ChartMapping& mapping() const { return mapping_; }
    QScrollBar& horizontalBar() { return *horizontal_; }
    QScrollBar& verticalBar() { return *vertical_; }
    // Zoom by `factor` keeping the moment at `x` (the middle of the bars where none) still.
    void zoom(double factor, std::optional<double> x = std::nullopt);
    void showWholeDay();
    // Each bar's possible delay as a faded tail, and the bars at risk framed by their share of
    // 200 runs with the delays drawn.
    void showDelays(bool shown);
    // The minutes from `first` to `last` across the window.
    void showMinutes(double first, double last);
    // The hours in sight, as the first and the last minute.
    std::pair<double, double> minutesInSight() const;
    int markedTrain() const { return chosenTrain_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override; // tooltips
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // On a bar: "Collega a…" for a train that ends or starts here, "Scollega" for a linked one.
    void contextMenuEvent(QContextMenuEvent* event) override;

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
    // The mapping at the zoom, the scroll bars' ranges and their places.
    void remap();
    double fittedZoom() const;
    void openOnBusiestHours();
    bool scrollByKey(int key);
    void bringIntoSight(int train);
    void follow(QPointF position, bool inTime);
    void cancelDrag();
    void paintDrop(QPainter& painter) const;
    std::optional<int> barUnder(QPointF point) const;
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
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    bool opened_ = false;
    bool delays_ = false;
};

} // namespace zeb
