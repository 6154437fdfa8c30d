#pragma once

#include "paper/paper_files.h"
#include "views/timetable/occupancy_chart_view.h"

#include <QWidget>

#include <string>

class QComboBox;
class QSpinBox;

namespace zeb {

class DialogPrompts;

// "Occupazione binari": how the station's tracks are held through the day. It follows every
// change of the scenario; a click on a bar shows that train in the editor. A bar dragged to
// another track's row takes that track, dragged with Shift it moves in time. The wheel scrolls
// the time; Ctrl and the wheel or the buttons zoom; the picture is exported to PNG or PDF or
// printed through the same drawing.
class OccupancyWindow : public QWidget {
public:
    OccupancyWindow(TimetableWatch& watch, ChartCommands commands, DialogPrompts& prompts,
                    QWidget* parent = nullptr);

    OccupancyChartView& chart() { return *chart_; }
    // Write the chart to a file, the PNG with the hours in sight or the whole day.
    PaperFile exportPng(const std::string& path, bool wholeDay);
    PaperFile exportPdf(const std::string& path);

private:
    void askPng();
    void print();
    QString suggested(const char* extension) const;

    TimetableWatch& watch_;
    DialogPrompts& prompts_;
    OccupancyChartView* chart_;
    QComboBox* paper_;
    QSpinBox* hours_;
};

} // namespace zeb
