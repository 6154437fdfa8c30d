#pragma once

#include "companion/editor_data.h"
#include "gtfs/present_trains.h"
#include "gtfs/station_day.h"
#include "gtfs/train_choice.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTableWidget;
class QTimeEdit;

namespace zeb {

class DialogPrompts;

// "Importa orario GTFS": a station of a feed, a day, a time window and the categories its kinds
// of service become, with a preview of the trains as they will be stored. Every reading of
// stop_times shows its progress and can be stopped. The categories chosen are remembered.
class GtfsImportDialog : public QDialog {
public:
    // What the trains are imported into: the scenario, its editor's data and links, which the
    // tracks the import would choose follow.
    struct ImportBase {
        const Scenario& scenario;
        EditorData data;
        TrainLinks links;
    };
    GtfsImportDialog(const GtfsFeed& feed, const ImportBase& base, DialogPrompts& prompts,
                     QWidget* parent = nullptr);

    // The trains the choice gives, and whether the feed's station data go with them.
    std::vector<Treno> takeTrains() { return std::move(chosen_.trains); }
    // The units among those trains, by the feed's blocks, where asked.
    const TrainLinks& links() const { return chosen_.links; }
    const StationDay* feedStation() const;
    // Whether the trains coming without a track are to get one.
    bool chooseTracks() const;
    // What becomes of the chosen trains the scenario holds already.
    PresentTrains presentTrains() const;
    date::sys_days chosenDay() const;

private:
    // The constructor's parts: the widgets of the station list, of the day, of the kinds and the
    // preview, then the layout and the signals.
    void setUpStations();
    void setUpDay(const GtfsFeed& feed, const Scenario& scenario);
    void setUpTables();
    void layOut();
    void connectChoices();
    void reloadStations();
    void reloadDay();
    // Window, categories, buses and the station data changed: the same calls, chosen anew.
    void refreshChoice();
    void showKinds();
    void showPreview();
    // The preview's rows, the tracks the import would choose set apart; the count of trains left
    // without a track.
    long fillPreview();
    void rememberCategories() const;
    // Runs a reading of stop_times with a progress dialog; false when stopped or failed.
    bool scan(const std::function<void(const ScanProgress&)>& work);

    const GtfsFeed& feed_;
    const Scenario& scenario_;
    ImportBase base_;
    DialogPrompts& prompts_;
    Scenario feedStationData_; // the feed's name and tracks, for the choice of tracks
    std::optional<StationDay> day_;
    int dayStation_ = -1;
    ImportChoice choice_;
    ChosenTrains chosen_;

    QLineEdit* search_;
    QStandardItemModel* stations_;
    QSortFilterProxyModel* filtered_;
    QTableView* stationList_;
    QDateEdit* date_;
    QLabel* weekday_;
    QTimeEdit* from_;
    QTimeEdit* to_;
    QCheckBox* onlyTrains_;
    QTableWidget* kinds_;
    QCheckBox* useStation_;
    QCheckBox* chooseTracks_;
    QCheckBox* linkBlocks_;
    QLabel* present_;
    QRadioButton* addNew_;
    QRadioButton* replace_;
    QRadioButton* addAll_;
    QTableWidget* preview_;
    QLabel* count_;
    QPushButton* ok_;
};

} // namespace zeb
