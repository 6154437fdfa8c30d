#include "editor/command_states.h"
#include "editor/editor_fixture.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// The states as flags: the window and export commands, those that change the trains, the
// variant; then what Annulla and Ripeti say.
std::string flags(const CommandStates& s) {
    std::string out;
    for (const Button* b : {&s.trainTable, &s.occupancy, &s.risk, &s.posters, &s.exportCsv,
                            &s.settings, &s.rules, &s.compare})
        out += b->enabled ? '1' : '0';
    out += ' ';
    for (const Button* b : {&s.importCsv, &s.importGtfs, &s.assignTracks, &s.perturb, &s.link})
        out += b->enabled ? '1' : '0';
    out += s.variant.enabled ? " 1|" : " 0|";
    return out + s.undo.text + (s.undo.enabled ? "" : "-") + "|" + s.redo.text +
           (s.redo.enabled ? "" : "-");
}

// The menu follows the logic: a new scenario opens every command; a train being typed in keeps
// those that change the trains off; an insertion is Annulla's, and undone it is Ripeti's; closed,
// every command is off.
TEST(CommandStates, TheMenuFollowsTheLogic) {
    test::EditorFixture f;
    CommandStates states;
    auto now = [&] {
        followLogic(states, f.editor, f.commands);
        return flags(states);
    };
    EXPECT_EQ(now(), "11111111 11111 1|Annulla-|Ripeti-");
    f.editor.nuovotreno_Click();
    f.editor.Timer1_Timer();
    EXPECT_EQ(now(), "11111111 00000 1|Annulla-|Ripeti-");
    f.fill(test::EditorFixture::numbered("231"));
    f.editor.inseriscitreno_Click();
    f.editor.Timer1_Timer();
    EXPECT_EQ(now(), "11111111 11111 1|Annulla inserimento treno 231|Ripeti-");
    f.commands.undo();
    EXPECT_EQ(now(), "11111111 11111 1|Annulla-|Ripeti inserimento treno 231");
    f.ui.answers = {Answer::Yes, Answer::Discard};
    f.editor.chiudi_Click();
    f.editor.Timer1_Timer();
    EXPECT_EQ(now(), "00000000 00000 0|Annulla-|Ripeti-");
}

} // namespace
} // namespace zeb
