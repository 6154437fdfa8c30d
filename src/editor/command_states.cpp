#include "editor/command_states.h"

#include "editor/editor_commands.h"
#include "editor/editor_logic.h"

namespace zeb {

void followLogic(CommandStates& states, const EditorLogic& logic, const EditorCommands& commands) {
    const bool open = logic.scenarioOpen();
    for (Button* button : {&states.trainTable, &states.occupancy, &states.risk, &states.posters,
                           &states.exportCsv, &states.settings, &states.rules, &states.compare})
        button->enabled = open;
    const bool mayChange = logic.canShowTrain();
    for (Button* button : {&states.importCsv, &states.importGtfs, &states.assignTracks,
                           &states.perturb, &states.link})
        button->enabled = mayChange;
    states.variant.enabled = logic.salva.enabled;
    states.undo.enabled = commands.canUndo();
    states.undo.setText(states.undo.enabled ? "Annulla " + commands.undoLabel() : "Annulla");
    states.redo.enabled = commands.canRedo();
    states.redo.setText(states.redo.enabled ? "Ripeti " + commands.redoLabel() : "Ripeti");
}

} // namespace zeb
