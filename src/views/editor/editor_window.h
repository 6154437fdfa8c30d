#pragma once

#include "editor/command_states.h"
#include "editor/editor_commands.h"
#include "editor/editor_logic.h"
#include "views/common/dialog_prompts.h"

#include <QList>
#include <QMainWindow>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;
class QLabel;
class QToolButton;
class QTimer;

namespace zeb {

class BoardsWindow;
class GuideWindow;
class ComparisonWindow;
class RiskWindow;
class ControlBinder;
class TimetableWatch;
class OccupancyWindow;
class RecoveryWriter;
class TrainTableWindow;

// "Zebrano - Editor Di Scenari v.1.0": the Qt view of EditorLogic. It lays out the controls,
// forwards clicks to the logic's handlers, runs the periodic refresh every 50 ms, and mirrors
// the control models onto the widgets after every handler and tick.
class EditorWindow : public QMainWindow {
public:
    explicit EditorWindow(Scenario& scenario, QWidget* parent = nullptr);

    EditorLogic& logic() { return logic_; }
    EditorCommands& commands() { return commands_; }
    DialogPrompts& prompts() { return prompts_; }
    // Opens a scenario file as APRI SCENARIO does after its dialog.
    void openScenarioFile(const std::string& path);
    // One tick of the periodic refresh and the mirroring of its changes; skipped inside a handler.
    void tick();

    TimetableWatch& timetable() { return *watch_; }
    RecoveryWriter& recovery() { return *recovery_; }
    // At start: offers the copy of a scenario an editor left unsaved.
    void offerRecovery();
    // The program is back from another one: offers to read again a file changed there.
    void checkFileOnDisk();
    // "Quadro treni", made on first use.
    TrainTableWindow& trainTable();
    // "Occupazione binari", made on first use.
    OccupancyWindow& occupancy();
    // "Confronta con…", made on first use.
    ComparisonWindow& comparison();
    RiskWindow& risk();
    // "Tabelloni", made on first use.
    BoardsWindow& boards();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTopBand(QWidget* area);
    void buildTrainFields(QWidget* area);
    void buildBottomBand(QWidget* area);
    // A command button of the top or bottom band, tied to its model and its handler.
    struct CommandSpec {
        const char* name;
        const char* caption;
        int left;  // twips
        int width; // twips
        bool verdana;
        Button EditorLogic::*model;
        void (EditorLogic::*handler)();
    };
    void addCommands(QWidget* area, int top, int height,
                     std::initializer_list<CommandSpec> commands);
    void setTabOrder();
    void buildToolsMenu();
    void addWindowActions(QMenu* tools);
    void buildMenuBar();
    // "Importa orario GTFS…": a feed, then the import dialog, then the logic's import.
    void importGtfs();
    // "Assegna binari…": the dialog over the trains chosen there or `selected`, then the logic.
    void assignTracks(const std::vector<int>& selected);
    void perturbTrains(const std::vector<int>& selected);
    void compareDays();
    // A link made or removed by hand, from the train table or the chart; a word where it cannot.
    void linkTrain(QWidget* from, int train, LinkSide side, const std::string& number);
    // The link of `train` that way set to `other`, or removed, as one step.
    void setLink(int train, LinkSide side, std::optional<int> other);
    // "Collega a…" in the chart: the train to link, chosen from those that may be.
    void chooseLink(QWidget* from, int train, LinkSide side);
    void showFindingsCount();
    // After a command: the windows of the timetable, the menu and the checker's indicator.
    void followScenario();
    void onClick(QAbstractButton* button, std::function<void()> handler);
    // Runs a handler, keeps the periodic refresh out of it, and then mirrors the controls.
    void run(const std::function<void()>& handler);
    void placeFocus();
    // The menu's commands as the logic leaves them.
    void followCommands();
    void buildFileMenu();
    void buildHelpMenu();
    // The guide on `page`, or on its contents for none; made on first use.
    void showGuide(const QString& page);
    static QString guidePageOf(const QWidget* window);
    void showAbout();
    void showFileName();
    void fitCorner();
    QList<QAction*> windowKeys() const;

    bool unconfirmed_ = false; // the shown train has changes not yet confirmed
    DialogPrompts prompts_;
    EditorLogic logic_;
    EditorCommands commands_{logic_, prompts_};
    ControlBinder* binder_;
    // The menu's commands, whose states change only with a command: mirrored after each.
    ControlBinder* menuBinder_;
    QTimer* timer1_;
    bool inHandler_ = false;
    TimetableWatch* watch_;
    RecoveryWriter* recovery_;
    // Shows a train for the timetable's windows; false while the editor cannot.
    bool showTrainFromTimetable(int train);

    TrainTableWindow* trainTable_ = nullptr;
    OccupancyWindow* occupancy_ = nullptr;
    ComparisonWindow* comparison_ = nullptr;
    RiskWindow* risk_ = nullptr;
    BoardsWindow* boards_ = nullptr;
    QAction* trainTableAction_ = nullptr;
    QAction* occupancyAction_ = nullptr;
    QAction* boardsAction_ = nullptr;
    QAction* riskAction_ = nullptr;
    QAction* postersAction_ = nullptr;
    QAction* exportCsvAction_ = nullptr;
    QAction* importCsvAction_ = nullptr;
    QAction* importGtfsAction_ = nullptr;
    QAction* assignTracksAction_ = nullptr;
    QAction* perturbAction_ = nullptr;
    QAction* linkAction_ = nullptr;
    QAction* settingsAction_ = nullptr;
    QAction* rulesAction_ = nullptr;
    QAction* variantAction_ = nullptr;
    QAction* compareAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* guideAction_ = nullptr;
    QAction* pageAction_ = nullptr;
    GuideWindow* guide_ = nullptr;
    QToolButton* indicator_ = nullptr;
    QLabel* fileName_ = nullptr;
    std::vector<QAction*> fileActions_; // each pressing its button
    CommandStates commandStates_;
};

} // namespace zeb
