#pragma once

#include "controls/user_prompts.h"
#include "document/scenario_document.h"
#include "gtfs/present_trains.h"
#include "model/scenario.h"

#include <optional>
#include <string>
#include <vector>

namespace zeb {

class EditorLogic;
class RecoveryStore;
struct StationDay;

// The commands the editor window gained beyond its buttons: undo and redo, a file changed by
// another program, variants, recovery after a crash, and the trains to and from other files.
// Each asks the window's logic whether it may run, and leaves the work to the document.
class EditorCommands {
public:
    EditorCommands(EditorLogic& logic, EditorUi& ui);

    // Undo and redo of the scenario's changes, offered as canShowTrain() is; each ends in the
    // covered state. The labels say what they would undo or redo ("inserimento treno 2231").
    // While the shown train's fields hold changes not yet confirmed, undo first puts the train
    // back as stored, and nothing else.
    bool canUndo() const;
    bool canRedo() const;
    std::string undoLabel() const;
    const std::string& redoLabel() const { return document_.history().redoLabel(); }
    void undo();
    void redo();

    // "Salva variante come…": the scenario saved under a new name as a variant of the file it
    // came from, which its companion file names as the base day. A scenario with no file of its
    // own is refused with a word, and so is the base day's own file.
    void saveVariantAs();
    // The program comes back to the user: where another program changed the scenario's file or
    // its editor's data since they were read or saved, offers once to read them again.
    void checkFileOnDisk();
    // At start: the newest copy an editor left without saving is offered once. Yes opens it as
    // APRI SCENARIO would, with no path chosen and its changes unsaved; No, or a copy that cannot
    // be read, keeps it aside under a dated name. Older copies are kept aside unasked.
    void offerRecovery(RecoveryStore& store);

    // The trains to a CSV file and from one, appended to the stored ones all or nothing; the
    // import only while no new train is being entered.
    void exportCsv();
    void importCsv();
    // A station's day read from a timetable feed, appended after the stored trains all or
    // nothing as one step of the history; with `feedStation`, its name and tracks become the
    // station data first and the station dialog opens for a check. With `tracksWith`, the trains
    // that came without a track of the station get one in the same step, under those settings and
    // the station's track rules. Trains the scenario holds already are settled as `present` says.
    // Trains that do not fit are refused with a message. `serviceDay` ("AAAA-MM-GG") becomes the
    // scenario's day of service.
    void importGtfs(const std::string& serviceDay, std::vector<Treno> trains,
                    const StationDay* feedStation,
                    const std::optional<CheckSettings>& tracksWith = std::nullopt,
                    PresentTrains present = PresentTrains::AddAll, const TrainLinks& links = {});

private:
    void showFileError(const std::string& message);

    EditorLogic& logic_;
    EditorUi& ui_;
    ScenarioDocument& document_;
    Scenario& s_;
};

} // namespace zeb
