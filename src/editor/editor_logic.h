#pragma once

#include "companion/editor_data.h"
#include "controls/controls.h"
#include "controls/user_prompts.h"
#include "document/scenario_document.h"
#include "history/history.h"
#include "model/scenario.h"
#include "timetable/occupancy.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace zeb {

// The logic of the editor window: every control under its name, the handlers of the scenario
// and train commands, and the 50 ms periodic refresh that keeps dependent fields in line with
// what the user types. It works on the shared scenario and asks a person through `ui`; the
// commands added since live in EditorCommands and the document.
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
    void carica_scenario_Click();
    // What APRI SCENARIO does once a file is chosen: the whole file or nothing, the station
    // dialog, the covered state. Also the way a file named on the command line is opened; it
    // does nothing while a scenario is open.
    void openScenarioFile(const std::string& path);
    // Saves the scenario and its companion file as `path`, as SALVA does once a name is chosen;
    // false when the scenario could not be written, or the user kept the file another program
    // changed.
    bool saveAs(const std::string& path);
    // Reads the scenario's file again, the changes not saved dropped.
    void reloadFromDisk();
    // The scenario with what only the editor keeps of it, its file, its history, and the
    // commands on many trains, links, settings and rules: offered while canShowTrain().
    ScenarioDocument& document() { return document_; }
    const ScenarioDocument& document() const { return document_; }

    bool scenarioOpen() const { return chiudi.enabled; } // CHIUDI SCENARIO is the open state
    // A scenario is open with changes that no save holds yet.
    bool hasUnsavedChanges() const { return scenarioOpen() && document_.unsaved(); }
    const Scenario& scenario() const { return s_; }

    // Whether a train may be shown from elsewhere (the train table): while a scenario is open
    // and no new train is being entered, as the step buttons allow.
    bool canShowTrain() const;
    // Shows train `index` in the viewing state, as if a step button had reached it.
    void showTrain(int index);

    // The shown train's fields differ from the train as stored; the second puts them back as
    // stored, true where there was something to put back.
    bool hasUnconfirmedChanges() const;
    bool dropUnconfirmedChanges();

private:
    // Fills the train fields from the shown train, treni[treno_attuale], and remembers them.
    void showRecord();
    // The track of the train shown and the states of the fields that follow from it.
    void showTrackAndStates(const Treno& t);
    // Copies the train fields into treni[index]; the insertion also ends the stops with ",.".
    void storeFields(int index, bool endStops);
    // The covered state: the fields under the cover, NUOVO TRENO and TRENO PRECEDENTE ready.
    void enterCoveredState();
    void showFileError(const std::string& message);
    // Before a save over the file the scenario was read from or last saved to: where another
    // program changed it since, asks whether to overwrite it, read it again or do nothing; true
    // to go on with the save.
    bool mayOverwrite(const std::string& path);
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
};

} // namespace zeb
