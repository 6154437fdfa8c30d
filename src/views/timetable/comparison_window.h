#pragma once

#include "model/scenario.h"
#include "variants/day_comparison.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace zeb {

class DialogPrompts;
class TimetableWatch;

// "Confronta con…": the scenario in the editor against another day of the station, read from its
// file. Each changed field, removed or added train is a row, sortable, filterable by text and by
// kind; the rows follow every change of the editor's scenario. Activating a row shows its train
// in the editor through `showTrain`, which answers whether it could. The differences go to a CSV
// file and to a notice for the passengers.
class ComparisonWindow : public QWidget {
public:
    ComparisonWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                     DialogPrompts& prompts, QWidget* parent = nullptr);

    // The editor's scenario against the day in `path`: false, after a message, where the file
    // cannot be read, and the window keeps the day it had.
    bool compareWith(const std::string& path);
    // "Altro giorno…": the file chosen in a dialog.
    void chooseBase();
    // The notice's day: the variant's day of service ("AAAA-MM-GG") where known, else the day of
    // the last notice printed, else today.
    void startNoticeDay(const std::string& serviceDay);

private:
    QLayout* buildFilter();
    QLayout* buildCommands();
    void setUpTable();
    // The differences again, after a change of either day.
    void refill();
    void updateTitle();
    void showRow(const QModelIndex& index);
    void exportCsv();
    void printNotice();

    TimetableWatch& watch_;
    std::function<bool(int)> showTrain_;
    DialogPrompts& prompts_;
    std::string basePath_;
    Scenario base_;
    std::vector<TrainDifference> differences_;
    std::vector<DifferenceRow> rows_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* byKind_;
    QSortFilterProxyModel* byText_;
    QLabel* baseName_;
    QLabel* summary_;
    QLineEdit* filterText_;
    QComboBox* kind_;
    QTableView* table_;
    QDateEdit* day_;
};

} // namespace zeb
