#pragma once

#include "companion/editor_data.h"
#include "controls/controls.h"
#include "controls/user_prompts.h"
#include "document/scenario_document.h"
#include "gtfs/present_trains.h"
#include "history/history.h"
#include "model/scenario.h"
#include "recovery/recovery_store.h"
#include "timetable/occupancy.h"
#include "variants/perturbation.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace zeb {

struct StationDay;
struct Assignment;

// The logic of the editor window: every control under its name, the handlers of the scenario
// and train commands, and the 50 ms periodic refresh that keeps dependent fields in line with
// what the user types. It works on the shared scenario and asks a person through `ui`.
class EditorLogic {
public:
    EditorLogic(Scenario& scenario, EditorUi& ui);

    // Top band.
    Button nuovo_scenario;
    Button carica_scenario;
    Button chiudi{.enabled = false, .visible = true};
    Button salva{.enabled = false, .visible = true};
    Button modifica{.enabled = false, .visible = true};
    Button contributo;
    Button Command4; // the "?" inside the hint sentence; it does nothing

    // Middle band: the train fields.
    TextBox numero;
    ListBox categoria;
    TextBox provenienza;
    TextBox destinazione;
    TextBox oraa{.text = {}, .enabled = true, .maxLength = 2};
    TextBox mina{.text = {}, .enabled = true, .maxLength = 2};
    TextBox orap{.text = {}, .enabled = true, .maxLength = 2};
    TextBox minp{.text = {}, .enabled = true, .maxLength = 2};
    ListBox ritardo;
    TextBox fermate;
    ListBox sussi;
    TextBox note;
    ListBox binario; // filled by the track list rebuild
    std::array<Button, 13> help{};
    Button copri{.enabled = false, .visible = true}; // the cover over the train fields

    // Bottom band.
    TextBox numerotrenit{.text = {}, .enabled = false, .maxLength = 0};
    TextBox postreno{.text = {}, .enabled = false, .maxLength = 0};
    Button tprecedente{.enabled = false, .visible = true};
    Button nuovotreno{.enabled = false, .visible = true};
    Button inseriscitreno{.enabled = false, .visible = true};
    Button modificatr{.enabled = true, .visible = false};
    Button cancellatreno{.enabled = false, .visible = true};
    Button tsuccessivo{.enabled = false, .visible = true};

    bool Timer1 = true; // the periodic refresh runs while this is on

    // State of the periodic refresh.
    bool salta_timer_1 = false; // arrival boxes opened for the current origin
    bool salta_timer_2 = false; // departure and stops boxes opened for the current destination
    bool salta_timer_3 = false; // track and subsidiary lists opened for a category with a track
    std::string oraa1, mina1, orap1, minp1;

    // Start-up, also run again when a scenario is closed.
    void Form_Load();
    // Empties the train fields and puts the lists on their first entry.
    void Cancella();
    // One tick of the periodic refresh.
    void Timer1_Timer();

    // Scenario commands.
    void nuovo_scenario_Click();
    void chiudi_Click();
    void contributo_Click();
    void help_Click(int index);
    // The user asks to close the window: true when it may close. With changes not yet saved it
    // asks whether to save them first (Salva, Non salvare, Annulla), so nothing is lost unasked.
    bool closeRequested();

    // Train commands.
    void nuovotreno_Click();
    void inseriscitreno_Click();
    void tprecedente_Click();
    void tsuccessivo_Click();
    void modificatr_Click();
    void cancellatreno_Click();
    void modifica_Click();

    // File commands.
    void salva_Click();
    // "Salva variante come…": the scenario saved under a new name as a variant of the file it
    // came from, which its companion file names as the base day. A scenario with no file of its
    // own is refused with a word, and so is the base day's own file.
    void saveVariantAs();
    // The file the scenario was last read from or saved to; none for a new scenario or one
    // restored from a recovery copy.
    std::optional<std::string> scenarioFile() const;
    void carica_scenario_Click();
    // The program comes back to the user: where another program changed the scenario's file or
    // its editor's data since they were read or saved, offers once to read them again.
    void checkFileOnDisk();
    // The trains to a CSV file and from one, appended to the stored ones all or nothing; the
    // import only while no new train is being entered.
    void exportCsv();
    void importCsv();
    // A station's day read from a timetable feed, appended after the stored trains all or
    // nothing as one step of the history; with `feedStation`, its name and tracks become the
    // station data first and the station dialog opens for a check. With `tracksWith`, the trains
    // that came without a track of the station get one in the same step, under those settings and
    // the station's track rules.
    // Trains the scenario holds already are settled as `present` says. Trains that do not fit
    // are refused with a message. Offered when canShowTrain().
    // `serviceDay` ("AAAA-MM-GG") becomes the scenario's day of service.
    void importGtfs(const std::string& serviceDay, std::vector<Treno> trains,
                    const StationDay* feedStation,
                    const std::optional<CheckSettings>& tracksWith = std::nullopt,
                    PresentTrains present = PresentTrains::AddAll, const TrainLinks& links = {});
    // The scenario with what only the editor keeps of it (read with the scenario, a file that
    // cannot be read said and left as it is, written with every save), its history, and the
    // commands on many trains, links, settings and rules: offered while canShowTrain().
    ScenarioDocument& document() { return document_; }
    const ScenarioDocument& document() const { return document_; }
    // What APRI SCENARIO does once a file is chosen: the whole file or nothing, the station
    // dialog, the covered state. Also the way a file named on the command line is opened; it
    // does nothing while a scenario is open.
    void openScenarioFile(const std::string& path);
    // At start: the newest copy an editor left without saving is offered once. Yes opens it as
    // APRI SCENARIO would, with no path chosen and its changes unsaved; No, or a copy that cannot
    // be read, keeps it aside under a dated name. Older copies are kept aside unasked.
    void offerRecovery(RecoveryStore& store);

    bool scenarioOpen() const { return chiudi.enabled; } // CHIUDI SCENARIO is the open state
    // A scenario is open with changes that no save holds yet.
    bool hasUnsavedChanges() const { return scenarioOpen() && document_.unsaved(); }
    const Scenario& scenario() const { return s_; }

    // Whether a train may be shown from elsewhere (the train table): while a scenario is open
    // and no new train is being entered, as the step buttons allow.
    bool canShowTrain() const;
    // Shows train `index` in the viewing state, as if a step button had reached it.
    void showTrain(int index);

    // Undo and redo of the scenario's changes, offered as canShowTrain() is; each ends in the
    // covered state. The labels say what they would undo or redo ("inserimento treno 2231").
    // While the shown train's fields hold changes not yet confirmed, undo first puts the train
    // back as stored, and nothing else.
    bool canUndo() const {
        return canShowTrain() && (history_.canUndo() || hasUnconfirmedChanges());
    }
    bool canRedo() const { return canShowTrain() && history_.canRedo(); }
    std::string undoLabel() const;
    // The shown train's fields differ from the train as stored.
    bool hasUnconfirmedChanges() const;
    const std::string& redoLabel() const { return history_.redoLabel(); }
    void undo();
    void redo();

private:
    // Fills the train fields from the shown train, treni[treno_attuale], and remembers them.
    void showRecord();
    // Copies the train fields into treni[index]; the insertion also ends the stops with ",.".
    void storeFields(int index, bool endStops);
    // The covered state: the fields under the cover, NUOVO TRENO and TRENO PRECEDENTE ready.
    void enterCoveredState();
    void showFileError(const std::string& message);
    // Saves the scenario and its companion file as `path`, as SALVA does once a name is chosen;
    // false when the scenario could not be written, or the user kept the file another program
    // changed.
    bool saveTo(const std::string& path);
    // Before a save over the file the scenario was read from or last saved to: where another
    // program changed it since, asks whether to overwrite it, read it again or do nothing; true
    // to go on with the save.
    bool mayOverwrite(const std::string& path);
    // The file as it is on disk now is the one the scenario holds.
    void rememberFileOnDisk();
    // Reads the scenario's file again, the changes not saved dropped.
    void reloadFromDisk();
    // CHIUDI SCENARIO once it is answered Yes.
    void closeScenario();
    // Asks the question of CHIUDI SCENARIO; true for Yes.
    bool confirmClosing();
    // After a change to many trains, or a step of the history: the covered state, the new
    // count, the track list as the station now has it.
    void afterManyTrainsChanged();
    // A change made, recorded by the document.
    void commit(std::string label, std::optional<TrainLinks> links = std::nullopt) {
        document_.commit(std::move(label), std::move(links));
    }
    void commitData(std::string label, const std::optional<TrainLinks>& links = std::nullopt) {
        document_.commitData(std::move(label), links);
    }
    // The control states of a newly opened scenario, for NUOVO SCENARIO and APRI SCENARIO.
    void enableScenarioCommands();

    // The fields as showRecord() filled them, for hasUnconfirmedChanges().
    struct ShownFields {
        std::array<std::string, 9> texts;
        std::array<int, 4> choices{};
    };
    // The train's text boxes and the choices of its lists, in one order.
    std::array<const std::string*, 9> fieldTexts() const;
    std::array<int, 4> fieldChoices() const;
    ShownFields fieldsNow() const;

    Scenario& s_;
    EditorUi& ui_;
    ShownFields shown_;
    ScenarioDocument document_;
    // The document's history and editor's data, under the names the file commands use.
    History& history_ = document_.history();
    EditorData& data_ = document_.data();
    std::string recoveredCopy_; // the recovery copy a restored scenario was read from
    // The scenario's file as it was read or last saved, and as it was last offered again.
    PairOnDisk onDisk_;
    PairOnDisk offered_;
};

} // namespace zeb
