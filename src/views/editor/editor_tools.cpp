// The windows and dialogs of the editor's tools: the train table, the chart, the imports, the
// links, the perturbations and the comparison of two days.

#include "views/editor/editor_window.h"

#include "document/assignment_setup.h"
#include "document/link_commands.h"

#include "gtfs/gtfs_error.h"
#include "model/counted.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "views/common/background_reading.h"
#include "views/common/window_style.h"
#include "views/timetable/boards_window.h"
#include "views/timetable/comparison_window.h"
#include "views/timetable/occupancy_window.h"
#include "views/timetable/risk_window.h"
#include "views/timetable/timetable_watch.h"
#include "views/timetable/train_table_window.h"
#include "views/tools/assign_tracks_dialog.h"
#include "views/tools/gtfs_import_dialog.h"
#include "views/tools/perturbation_dialog.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QToolButton>

#include <filesystem>

namespace zeb {

void EditorWindow::importGtfs() {
    if (!logic_.canShowTrain())
        return;
    // A feed is a zip, or a folder of .txt files chosen by its stops.txt.
    const auto path = prompts_.askOpenFileName(
        {"Orario GTFS: uno zip, o stops.txt di una cartella ", "*.zip stops.txt"});
    if (!path)
        return;
    const QFileInfo chosen(QString::fromStdString(*path));
    const std::string feedPath =
        (chosen.suffix().compare("txt", Qt::CaseInsensitive) == 0 ? chosen.absolutePath()
                                                                  : chosen.absoluteFilePath())
            .toStdString();
    std::unique_ptr<FeedSource> source;
    GtfsFeed feed;
    const BackgroundOutcome outcome = readInBackground(this, "Lettura del feed…", [&](auto&) {
        source = openFeed(feedPath);
        feed = loadFeed(*source);
    });
    if (outcome.failure)
        prompts_.showMessage(*outcome.failure, "Importazione GTFS", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    if (!outcome.done)
        return;
    EditorData data = logic_.document().data();
    data.settings = watch_->settings();
    GtfsImportDialog dialog(feed, {logic_.scenario(), data, watch_->links()}, prompts_, this);
    if (prompts_.runDialog(dialog) != QDialog::Accepted)
        return;
    const StationDay* station = dialog.feedStation();
    const auto tracksWith =
        dialog.chooseTracks() ? std::optional(watch_->settings()) : std::nullopt;
    const PresentTrains present = dialog.presentTrains();
    const TrainLinks links = dialog.links();
    const std::string day = date::format("%Y-%m-%d", dialog.chosenDay());
    run([&] {
        commands_.importGtfs(day, dialog.takeTrains(), station, tracksWith, present, links);
    });
}

void EditorWindow::assignTracks(const std::vector<int>& selected) {
    if (!logic_.canShowTrain())
        return;
    QWidget* over = selected.empty() ? static_cast<QWidget*>(this) : &trainTable();
    EditorData data = logic_.document().data();
    data.settings = watch_->settings();
    AssignmentOptions base = assignmentOptions(data, watch_->links());
    base.selected = selected;
    AssignTracksDialog dialog(logic_.scenario(), base, over);
    if (prompts_.runDialog(dialog) != QDialog::Accepted)
        return;
    run([&] {
        logic_.document().setAssignmentLimits(dialog.buffer(), dialog.timeLimit());
        logic_.document().assignTracks(dialog.assignment());
    });
}

void EditorWindow::perturbTrains(const std::vector<int>& selected) {
    if (!logic_.canShowTrain())
        return;
    QWidget* over = selected.empty() ? static_cast<QWidget*>(this) : &trainTable();
    PerturbationDialog dialog(logic_.scenario(), watch_->settings(), watch_->links(),
                              watch_->trackRules(), selected, over);
    if (prompts_.runDialog(dialog) == QDialog::Accepted)
        run([&] { logic_.document().perturbTrains(dialog.trains(), dialog.perturbation()); });
}

// "Confronta con…": the base day the variant was saved from, where it is still there; else the day
// chosen in a dialog.
void EditorWindow::compareDays() {
    if (!logic_.scenarioOpen())
        return;
    const std::string& base = logic_.document().data().baseDay;
    std::error_code unknown;
    const bool found = !base.empty() && std::filesystem::is_regular_file(base, unknown) &&
                       comparison().compareWith(base);
    if (!found) {
        const auto path =
            prompts_.askOpenFileName({"File Zebrano (*.zeb) ", "*.zeb", {}, {}, "Confronta con"});
        if (!path || !comparison().compareWith(*path))
            return;
    }
    comparison().startNoticeDay(logic_.document().data().serviceDay);
    bringUp(comparison());
}

ComparisonWindow& EditorWindow::comparison() {
    if (comparison_ == nullptr) {
        comparison_ = new ComparisonWindow(
            *watch_, [this](int train) { return showTrainFromTimetable(train); }, prompts_, this);
        // Its Ctrl+W closes the window itself: the scenario's would close the day it compares.
        QList<QAction*> keys = windowKeys();
        keys.removeIf([](QAction* action) { return action->objectName() == "actionChiudi"; });
        comparison_->addActions(keys);
    }
    return *comparison_;
}

RiskWindow& EditorWindow::risk() {
    if (risk_ == nullptr) {
        risk_ = new RiskWindow(
            *watch_, [this](int train) { return showTrainFromTimetable(train); }, prompts_, this);
        risk_->addActions(windowKeys());
    }
    return *risk_;
}

BoardsWindow& EditorWindow::boards() {
    if (boards_ == nullptr) {
        boards_ = new BoardsWindow(
            *watch_,
            {.showTrain = [this](int train) { return showTrainFromTimetable(train); },
             .baseDayPath = [this] { return logic_.document().data().baseDay; },
             .choices = [this] { return logic_.document().data().boards; },
             .keep =
                 [this](const BoardChoices& choices) {
                     run([&, this] { logic_.document().setBoardChoices(choices); });
                 }},
            prompts_, this);
        boards_->addActions(windowKeys());
    }
    return *boards_;
}

void EditorWindow::linkTrain(QWidget* from, int train, LinkSide side, const std::string& number) {
    if (!logic_.canShowTrain())
        return;
    const DialogPrompts::Over over(prompts_, from);
    std::optional<int> other;
    if (!number.empty()) {
        const PartnerByNumber found =
            partnerByNumber(logic_.scenario(), logic_.document().links(), train, side, number);
        if (!found.other) {
            prompts_.showMessage(found.refusal, "Collegamento", MessageIcon::Exclamation,
                                 MessageButtons::Ok);
            return;
        }
        other = found.other;
    }
    setLink(train, side, other);
}

void EditorWindow::setLink(int train, LinkSide side, std::optional<int> other) {
    // Another unit broken on the way is said first.
    if (const auto question = other
                                  ? brokenUnitQuestion(logic_.scenario(), logic_.document().links(),
                                                       train, side, *other)
                                  : std::nullopt;
        question && prompts_.showMessage(*question, "Collegamento", MessageIcon::Question,
                                         MessageButtons::YesNo) != Answer::Yes)
        return;
    const LinkStep step =
        linkStep(logic_.scenario(), logic_.document().links(), train, side, other);
    run([&] { logic_.document().setLinks(step.links, step.label); });
}

void EditorWindow::chooseLink(QWidget* from, int train, LinkSide side) {
    if (!logic_.canShowTrain())
        return;
    const LinkChoices choices =
        linkChoices(logic_.scenario(), logic_.document().links(), train, side);
    const DialogPrompts::Over over(prompts_, from);
    if (choices.trains.empty()) {
        prompts_.showMessage(choices.none, "Collegamento", MessageIcon::Exclamation,
                             MessageButtons::Ok);
        return;
    }
    QStringList items;
    for (const std::string& line : choices.lines)
        items << QString::fromStdString(line);
    QInputDialog dialog(from);
    dialog.setObjectName("collegaA");
    dialog.setWindowTitle("Collega a");
    dialog.setLabelText(QString::fromStdString(choices.question));
    dialog.setComboBoxItems(items);
    dialog.setOkButtonText("&Collega");
    dialog.setCancelButtonText("A&nnulla");
    if (prompts_.runDialog(dialog) != QDialog::Accepted)
        return;
    const auto chosen = items.indexOf(dialog.textValue());
    if (chosen >= 0)
        setLink(train, side, choices.trains[static_cast<std::size_t>(chosen)]);
}

bool EditorWindow::showTrainFromTimetable(int train) {
    if (!logic_.canShowTrain())
        return false;
    run([this, train] { logic_.showTrain(train); });
    return true;
}

// "Nessun problema", "3 errori · 1 avviso": red with errors, amber with warnings, always whole.
void EditorWindow::showFindingsCount() {
    const FindingsCount count = countFindings(watch_->findings());
    const QString text = QString::fromStdString(findingsText(count));
    indicator_->setText(text);
    indicator_->setToolTip(text + " nella verifica dell'orario; clic per vederli");
    fitCorner();
    indicator_->setMinimumWidth(indicator_->sizeHint().width());
    const char* color = count.errors > 0 ? "#b00000" : count.warnings > 0 ? "#9a5b00" : "#2e7d32";
    indicator_->setStyleSheet(QString("color: %1;").arg(color));
    menuBar()->updateGeometry();
}

TrainTableWindow& EditorWindow::trainTable() {
    if (trainTable_ == nullptr) {
        trainTable_ = new TrainTableWindow(
            *watch_,
            {.available = [this] { return logic_.canShowTrain(); },
             .showTrain = [this](int train) { return showTrainFromTimetable(train); },
             .repeat =
                 [this](int train, int every, int times, int step) {
                     run([=, this] { logic_.document().repeatTrain(train, every, times, step); });
                 },
             .shift =
                 [this](const std::vector<int>& trains, int minutes) {
                     run([&, this] { logic_.document().shiftTimes(trains, minutes); });
                 },
             .remove =
                 [this](const std::vector<int>& trains) {
                     // The question belongs to the table it was asked from.
                     const DialogPrompts::Over over(prompts_, trainTable_);
                     run([&, this] { logic_.document().removeTrains(trains); });
                 },
             .assignTracks = [this](const std::vector<int>& trains) { assignTracks(trains); },
             .perturb = [this](const std::vector<int>& trains) { perturbTrains(trains); },
             .link =
                 [this](int train, LinkSide side, const std::string& number) {
                     linkTrain(trainTable_, train, side, number);
                 }},
            prompts_, this);
        trainTable_->addActions(windowKeys());
    }
    return *trainTable_;
}

OccupancyWindow& EditorWindow::occupancy() {
    if (occupancy_ == nullptr) {
        occupancy_ = new OccupancyWindow(
            *watch_,
            {.showTrain = [this](int train) { return showTrainFromTimetable(train); },
             .moveTrain =
                 [this](int train, const std::string& track, int minutes) {
                     run([&, this] { logic_.document().moveTrain(train, track, minutes); });
                 },
             .chooseLink = [this](int train,
                                  LinkSide side) { chooseLink(occupancy_, train, side); },
             .unlink =
                 [this](int train) {
                     const bool arriving = hasArrival(logic_.scenario().treni[train]);
                     setLink(train, arriving ? LinkSide::Onward : LinkSide::Back, std::nullopt);
                 }},
            prompts_, this);
        occupancy_->addActions(windowKeys());
    }
    return *occupancy_;
}

} // namespace zeb
