#pragma once

#include "controls/controls.h"
#include "controls/user_prompts.h"
#include "model/scenario.h"

#include <array>

namespace zeb {

// The logic of the station data dialog ("Dati Stazione"): station name, start time and the
// 26 track boxes. Track clicks change the scenario's slot flags at once; OK stores the name and
// the time; every closing rebuilds the track table and the editor's track list.
class StationLogic {
public:
    // `editorTrackList` is the editor window's track list, rebuilt when the dialog closes.
    StationLogic(Scenario& scenario, ListBox& editorTrackList, MessageUi& ui);

    TextBox textstazione;
    TextBox orap{.text = {}, .enabled = true, .maxLength = 2};
    TextBox minp{.text = {}, .enabled = true, .maxLength = 2};
    std::array<CheckBox, kTrackSlots> binario{};
    TextBox nbinari{.text = {}, .enabled = false, .maxLength = 0};

    // Fills the controls from the scenario; sets no flag and applies no limit.
    void Form_Load();
    // The user has toggled the box of `slot` (its `checked` already holds the new state).
    void binario_Click(int slot);
    // The 50 ms check of the start time: an hour above 23 or a minute above 59, or a text that
    // is no whole number, is emptied. Nothing is checked while the hour box holds "--".
    void Timer2_Timer();
    // Returns true when the dialog may close; refuses, with a message, a station without tracks.
    bool ok_Click();
    // Runs at every closing of the dialog, through OK or the window's close command.
    void Form_Unload();

private:
    Scenario& s_;
    ListBox& editorTrackList_;
    MessageUi& ui_;
};

} // namespace zeb
