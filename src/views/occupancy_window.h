#pragma once

#include "timetable/occupancy_chart.h"
#include "views/timetable_watch.h"

#include <QWidget>

#include <functional>

class QScrollArea;

namespace zeb {

class OccupancyChartView;

// "Occupazione binari": how the station's tracks are held through the day. It follows every
// change of the scenario; a click on a bar shows that train in the editor through `showTrain`.
// Zoom with Ctrl and the wheel or the buttons; the picture is exported to PNG or PDF or printed
// through the same drawing.
class OccupancyWindow : public QWidget {
public:
    OccupancyWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                    QWidget* parent = nullptr);

    OccupancyChartView& chart() { return *chart_; }
    // Write the chart to a file; false when it cannot be written.
    bool exportPng(const QString& path);
    bool exportPdf(const QString& path);

private:
    void print();

    TimetableWatch& watch_;
    OccupancyChartView* chart_;
    QScrollArea* scroll_;
};

// The chart on the screen: it repaints after every change and answers the pointer.
class OccupancyChartView : public QWidget {
public:
    OccupancyChartView(TimetableWatch& watch, std::function<bool(int)> showTrain,
                       QWidget* parent = nullptr);

    const ChartContent& content() const { return content_; }
    const ChartMapping& mapping() const { return mapping_; }
    void zoom(double factor);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override; // tooltips
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void rebuild();

    TimetableWatch& watch_;
    std::function<bool(int)> showTrain_;
    ChartContent content_;
    ChartMapping mapping_;
    double pixelsPerMinute_ = 4.0;
};

} // namespace zeb
