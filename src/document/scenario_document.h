#pragma once

#include "companion/editor_data.h"
#include "controls/user_prompts.h"
#include "document/day_import.h"
#include "history/history.h"
#include "model/scenario.h"
#include "track_assignment/track_assignment.h"
#include "variants/perturbation.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

struct CsvImport;

// A scenario as the editor works on it: the scenario itself, what the editor keeps beside it (its
// settings, links, track rules, assignment limits, base day), the history of its changes and
// whether some are not saved yet. The commands added beyond the original window are its
// operations, each written once; a question they ask goes through `ui`.
class ScenarioDocument {
public:
    ScenarioDocument(Scenario& scenario, MessageUi& ui) : s_(scenario), ui_(ui) {}

    const Scenario& scenario() const { return s_; }
    Scenario& scenario() { return s_; }
    const EditorData& data() const { return data_; }
    const TrainLinks& links() const { return history_.links(); }
    const History& history() const { return history_; }
    bool unsaved() const { return unsaved_; }
    void setUnsaved(bool unsaved) { unsaved_ = unsaved; }
    // What the last change touched, for the windows, once.
    std::optional<ScenarioChange> takeChange() { return std::exchange(change_, std::nullopt); }

    // Whether a command may change the scenario now (the editor: one is open and no train is
    // being typed); whether one is open at all; what follows a change of many trains, and of
    // links alone (the editor's controls).
    std::function<bool()> mayChange = [] { return true; };
    std::function<bool()> isOpen = [] { return true; };
    std::function<void()> afterTrainsChanged = [] {};
    std::function<void()> afterLinksChanged = [] {};
    // An import took the feed's station for a scenario with no trains: the editor shows it.
    std::function<void()> afterStationTaken = [] {};

    // A change made: a step of the history named `label`, the links those the history follows
    // through it, or `links` where given; commitData records the editor's data with it.
    void commit(std::string label, std::optional<TrainLinks> links = std::nullopt);
    void commitData(std::string label, const std::optional<TrainLinks>& links = std::nullopt);
    // A new scenario, an opened one or none: a new, empty history, and the editor's defaults.
    void replaced();
    // The editor's data as they are now become the history's, with no step: read with a file,
    // or changed by a save.
    void settleData() { history_.setEditorData(dataText()); }
    // After an undo or a redo: the editor's data as the step left them, the changes unsaved.
    void stepped(ScenarioChange change);
    // The history and the editor's data, for the file commands and undo.
    History& history() { return history_; }
    EditorData& data() { return data_; }

    // The file. open() reads the scenario at `path` whole or not at all (a ScenarioFileError
    // thrown, the document as it was) and the editor's data beside it, and answers what the
    // user is to be told of those (a file that cannot be read, links naming no train), empty
    // when all was read. The editor asks its station dialog between the two halves.
    std::string open(const std::string& path);
    void readScenario(const std::string& path);
    std::string readBeside(const std::string& path);
    // Writes the scenario as `path` with its editor's data beside it, both or neither; throws
    // ScenarioFileError, the document as it was.
    void save(const std::string& path);
    // The file the scenario was last read from or saved to; none for a new scenario or one
    // restored from a recovery copy (`recoveredCopy`, which is no file of the user's).
    std::optional<std::string> file() const;
    void setRecoveredCopy(std::string path) { recoveredCopy_ = std::move(path); }
    // The file as it is on disk now is the one the document holds.
    void rememberFileOnDisk();
    // Another program changed the file or its companion since they were read or saved; the
    // second answers true once for each such change.
    bool changedOnDisk() const;
    bool changeToOffer();

    void setLinks(const TrainLinks& links, std::string label);
    void setCheckSettings(const CheckSettings& settings);
    void setTrackRules(const TrackRules& rules);
    void setAssignmentLimits(int buffer, int timeLimit);
    void setBoardChoices(const BoardChoices& choices);
    void repeatTrain(int index, int everyMinutes, int times, int numberStep);
    // A shift that would break units asks first; times that cannot move are said after.
    void shiftTimes(const std::vector<int>& trains, int minutes);
    // Asks first, naming the trains and the units they break.
    void removeTrains(const std::vector<int>& trains);
    // To another track (a unit whole) and, or, by `minutes`.
    void moveTrain(int train, const std::string& track, int minutes);
    void assignTracks(const Assignment& assignment);
    // A station's day appended after the stored trains, all or nothing, as one step.
    DayImported importDay(DayImportRequest request);
    // The trains of a CSV file read whole appended after the stored ones, as one step; returns
    // the first appended.
    int importCsv(CsvImport& read);
    // Under the editor's settings, or `settings` where given; what changed, a line a train.
    std::vector<PerturbationChange>
    perturbTrains(const std::vector<int>& trains, const Perturbation& perturbation,
                  const std::optional<CheckSettings>& settings = std::nullopt);

private:
    // The editor's data as the history keeps them: their file's text, the links apart.
    std::string dataText() const;

    Scenario& s_;
    MessageUi& ui_;
    History history_;
    EditorData data_;
    bool unsaved_ = false; // changed since it was opened or saved, or never saved
    std::optional<ScenarioChange> change_;
    std::string recoveredCopy_;
    // The file as it was read or last saved, and as it was last offered again.
    PairOnDisk onDisk_;
    PairOnDisk offered_;
};

} // namespace zeb
