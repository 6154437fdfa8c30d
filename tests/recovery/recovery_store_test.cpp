#include "recovery/recovery_store.h"

#include "controls/fake_ui.h"
#include "editor/editor_logic.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <memory>

namespace zeb {
namespace {

TEST(RecoveryStore, TwoEditorsKeepApartAndAGoneOneLeavesAnOrphan) {
    test::TempFolder folder;
    RecoveryStore first(folder.path() + "/state/recupero");
    auto second = std::make_unique<RecoveryStore>(folder.path() + "/state/recupero");
    ASSERT_NE(first.ownCopy(), second->ownCopy());
    first.write("first");
    second->write("second");
    EXPECT_TRUE(first.orphans().empty()) << "the other editor is still running";
    EXPECT_EQ(test::readBytes(first.ownCopy()), "first");

    const std::string left = second->ownCopy();
    second.reset(); // ended without a clean end: its copy stays
    const auto orphans = first.orphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].path, left);
    const std::string aside = first.setAside(left);
    EXPECT_NE(aside.find("/non-salvato-"), std::string::npos);
    EXPECT_EQ(test::readBytes(aside), "second");
    EXPECT_TRUE(first.orphans().empty()) << "kept aside, never offered again";
    first.remove();
    EXPECT_EQ(folder.listing(), "state\n");
}

// An editor at start with the copy a previous one left, and the answer given to its question.
struct Restart {
    test::TempFolder folder;
    Scenario s;
    test::FakeUi ui;
    EditorLogic editor{s, ui};
    std::unique_ptr<RecoveryStore> store;

    explicit Restart(const std::string& copy) {
        const std::string states = folder.path() + "/recupero";
        {
            RecoveryStore crashed(states);
            crashed.write(copy);
        }
        store = std::make_unique<RecoveryStore>(states);
    }
};

TEST(Recovery, YesRestoresNoKeepsAsideAndAnUnreadableCopyIsReported) {
    Restart yes(test::exampleFileBytes());
    yes.ui.answers = {Answer::Yes};
    yes.editor.offerRecovery(*yes.store);
    ASSERT_EQ(yes.ui.messages.size(), 1u);
    EXPECT_EQ(yes.ui.messages[0].text.rfind("È stato trovato uno scenario non salvato (Valmora, 2 "
                                            "treni, modificato il ",
                                            0),
              0u);
    EXPECT_EQ(std::to_string(yes.s.totale_treni) + " " + std::to_string(yes.ui.stationOpenings),
              "2 1");
    EXPECT_EQ(yes.s.nome_file, "") << "the next SALVA asks for a path";
    EXPECT_TRUE(yes.editor.hasUnsavedChanges());
    EXPECT_EQ(test::readBytes(yes.store->ownCopy()), test::exampleFileBytes()) << "adopted";

    Restart no(test::exampleFileBytes());
    no.editor.offerRecovery(*no.store); // answered No
    EXPECT_FALSE(no.editor.scenarioOpen());
    EXPECT_NE(no.folder.listing().find("recupero"), std::string::npos);
    EXPECT_TRUE(no.store->orphans().empty());

    Restart broken("Stazione di = A\r\n");
    broken.editor.offerRecovery(*broken.store);
    ASSERT_EQ(broken.ui.messages.size(), 1u);
    EXPECT_NE(broken.ui.messages[0].text.find("non si può leggere: 1001 Riga 2"), std::string::npos)
        << broken.ui.messages[0].text;
    EXPECT_NE(broken.ui.messages[0].text.find("non-salvato-"), std::string::npos);
    EXPECT_FALSE(broken.editor.scenarioOpen());
}

} // namespace
} // namespace zeb
