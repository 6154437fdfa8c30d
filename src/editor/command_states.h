#pragma once

#include "controls/controls.h"

namespace zeb {

class EditorCommands;
class EditorLogic;

// The editor's menu commands beyond its buttons as control models, bound like the buttons: which
// may run now, and what Annulla and Ripeti would give back.
struct CommandStates {
    Button trainTable; // the other windows and the tools, once a scenario is open
    Button occupancy;
    Button risk;
    Button posters;
    Button exportCsv;
    Button settings;
    Button rules;
    Button compare;
    Button importCsv; // those that change the trains, where the train shown may be left
    Button importGtfs;
    Button assignTracks;
    Button perturb;
    Button link;
    Button variant; // a variant, where the scenario may be saved
    TextBox undo{"Annulla", false};
    TextBox redo{"Ripeti", false};
};

// The states as `logic` and `commands` leave them.
void followLogic(CommandStates& states, const EditorLogic& logic, const EditorCommands& commands);

} // namespace zeb
