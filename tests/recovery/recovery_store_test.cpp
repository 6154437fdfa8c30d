#include "recovery/recovery_store.h"

#include "controls/fake_ui.h"
#include "editor/editor_commands.h"
#include "editor/editor_logic.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#if !defined(_WIN32)
#include "companion/kill_harness.h"

#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zeb {
namespace {

#if defined(_WIN32)
// On Windows the copies stay on this computer, in the user's own local application data.
TEST(RecoveryStore, TheCopiesGoInTheUsersLocalAppData) {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(pathOf(RecoveryStore::defaultFolder()),
              std::filesystem::path(local) / "zebrano-editor" / "recupero");
}
#endif

TEST(RecoveryStore, TwoEditorsKeepApartAndAGoneOneLeavesAnOrphan) {
    test::TempFolder folder;
    RecoveryStore first(folder.path() + "/state/recupero");
    auto second = std::make_unique<RecoveryStore>(folder.path() + "/state/recupero");
    ASSERT_NE(first.ownCopy(), second->ownCopy());
    first.write("first");
    // A day beside, named as the system names it.
    const std::string base = utf8Of(pathOf(folder.file("Valmora.zeb")).lexically_normal());
    second->write("second", {.baseDay = base});
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
    EXPECT_EQ(loadEditorData(aside).data.baseDay, base) << "its editor's data go along";
    EXPECT_TRUE(first.orphans().empty()) << "kept aside, never offered again";
    first.remove();
    EXPECT_EQ(folder.listing(), "state\n");
}

// A second editor starting while the first is making its lock finds nothing to take.
TEST(RecoveryStore, AStartingEditorNeverTakesARunningOnesCopy) {
    test::TempFolder folder;
    const std::string states = folder.path() + "/recupero";
    std::unique_ptr<RecoveryStore> second;
    bool started = false;
    RecoveryStore::testHook() = [&](std::string_view moment, const std::string&) {
        if (moment == "lock-locked" && !started) {
            started = true;
            second = std::make_unique<RecoveryStore>(states);
            EXPECT_TRUE(second->orphans().empty());
        }
    };
    RecoveryStore first(states);
    RecoveryStore::testHook() = nullptr;
    first.write("first");
    EXPECT_TRUE(second->orphans().empty()) << "the first editor's copy is still its own";
    EXPECT_FALSE(second->adopt(first.ownCopy()));
    EXPECT_EQ(test::readBytes(first.ownCopy()), "first");
}

// Two editors setting copies aside in the same second both keep theirs.
TEST(RecoveryStore, CopiesSetAsideTogetherAreBothKept) {
    test::TempFolder folder;
    const std::string states = folder.path() + "/recupero";
    std::vector<std::string> left;
    for (const char* text : {"one", "two"}) {
        RecoveryStore gone(states);
        gone.write(text);
        left.push_back(gone.ownCopy());
    }
    RecoveryStore first(states);
    RecoveryStore second(states);
    std::string taken;
    RecoveryStore::testHook() = [&](std::string_view moment, const std::string& name) {
        if (moment == "aside-renaming" && taken.empty()) {
            taken = name;
            EXPECT_EQ(second.setAside(left[1]), name) << "the other editor takes the name first";
        }
    };
    const std::string aside = first.setAside(left[0]);
    RecoveryStore::testHook() = nullptr;
    EXPECT_NE(aside, taken);
    EXPECT_EQ(test::readBytes(aside) + test::readBytes(taken), "onetwo");
}

#if !defined(_WIN32) // processes forked
// Two processes start editors that end without cleaning up, and set aside each other's copies,
// at once and many times: every copy is there at the end.
TEST(RecoveryStore, NoCopyIsLostBetweenTwoProcesses) {
    test::TempFolder folder;
    const std::string states = folder.path() + "/recupero";
    constexpr int kRounds = 150;
    std::vector<pid_t> children;
    for (int process = 0; process < 2; ++process) {
        const pid_t child = fork();
        if (child == 0) {
            for (int round = 0; round < kRounds; ++round) {
                RecoveryStore store(states);
                store.write(std::to_string(process) + "-" + std::to_string(round));
                for (const auto& orphan : store.orphans())
                    store.setAside(orphan.path);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(states)) {
        if (entry.path().extension() == ".zeb")
            copies.insert(test::readBytes(entry.path()));
    }
    EXPECT_EQ(copies.size(), 2u * kRounds);
}
#endif

#if !defined(_WIN32) // processes forked
// What killed writers left is removed by the next save of the same file and by the next editor's
// start, never what a running writer or another file has.
TEST(RecoveryStore, TemporaryFilesOfGoneWritersAreRemoved) {
    test::TempFolder folder;
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::vector<std::string> left = {".piano.zeb.zeb-save-" + dead + "-abcdef",
                                           ".altro.zeb.zeb-save-" + dead + "-abcdef",
                                           ".piano.zeb.zeb-save-1-abcdef"};
    for (const std::string& name : left)
        test::writeBytes(folder.file(name), "partial");
    replaceFileContents(folder.file("piano.zeb"), "saved");
    EXPECT_EQ(folder.listing(), left[1] + "\n" + left[2] + "\npiano.zeb\n");

    // Names that share their first 100 bytes or more keep their leftovers apart, long or short.
    for (const std::size_t shared : {100, 190, 240}) {
        const std::string mine = std::string(shared, 'p') + "-1.zeb";
        const std::string other = std::string(shared, 'p') + "-2.zeb";
        EXPECT_FALSE(temporaryPrefix(other).starts_with(temporaryPrefix(mine)));
        test::writeBytes(folder.file(temporaryPrefix(mine) + dead + "-abcdef"), "partial");
        test::writeBytes(folder.file(temporaryPrefix(other) + dead + "-abcdef"), "partial");
        replaceFileContents(folder.file(mine), "saved");
        EXPECT_EQ(folder.listing().find(temporaryPrefix(mine)), std::string::npos) << shared;
        EXPECT_NE(folder.listing().find(temporaryPrefix(other)), std::string::npos) << shared;
        std::filesystem::remove(folder.file(temporaryPrefix(other) + dead + "-abcdef"));
        std::filesystem::remove(folder.file(mine));
    }

    RecoveryStore store(folder.path());
    EXPECT_EQ(folder.listing().find(left[1]), std::string::npos);
    EXPECT_NE(folder.listing().find(left[2]), std::string::npos) << "its writer is running";
}
#endif

#if !defined(_WIN32) // processes forked and killed
// A recovery copy killed while it is written never splits from its editor's data silently.
TEST(RecoveryStore, AKilledCopyNeverSplitsFromItsDataSilently) {
    test::TempFolder folder;
    RecoveryStore store(folder.path() + "/recupero");
    store.write(test::roundBytes(0), test::roundData(0));
    const int broken = test::killWhileWriting(
        1000, [&](long round) { store.write(test::roundBytes(round), test::roundData(round)); },
        [&] { return test::roundPairHolds(store.ownCopy()); });
    EXPECT_EQ(broken, 0);
}
#endif

// An editor at start with the copy a previous one left, and the answer given to its question.
struct Restart {
    test::TempFolder folder;
    Scenario s;
    test::FakeUi ui;
    EditorLogic editor{s, ui};
    EditorCommands commands{editor, ui};
    std::unique_ptr<RecoveryStore> store;

    explicit Restart(const std::string& copy, const EditorData& editorData = {}) {
        const std::string states = folder.path() + "/recupero";
        {
            RecoveryStore crashed(states);
            crashed.write(copy, editorData);
        }
        store = std::make_unique<RecoveryStore>(states);
    }
};

TEST(Recovery, YesRestoresNoKeepsAsideAndAnUnreadableCopyIsReported) {
    Restart yes(test::exampleFileBytes(),
                {.settings = {.separation = 7}, .recoveredFrom = "/giorni/Valmora.zeb"});
    yes.ui.answers = {Answer::Yes};
    yes.commands.offerRecovery(*yes.store);
    ASSERT_EQ(yes.ui.messages.size(), 1u);
    EXPECT_EQ(yes.ui.messages[0].text.rfind("È stato trovato uno scenario non salvato (Valmora, 2 "
                                            "treni, del file Valmora.zeb nella cartella /giorni, "
                                            "modificato il ",
                                            0),
              0u)
        << yes.ui.messages[0].text;
    EXPECT_EQ(std::to_string(yes.s.totale_treni) + " " + std::to_string(yes.ui.stationOpenings),
              "2 1");
    EXPECT_EQ(yes.s.nome_file, "/giorni/Valmora.zeb") << "its own file, where SALVA starts";
    EXPECT_EQ(yes.editor.document().file(), "/giorni/Valmora.zeb");
    EXPECT_EQ(yes.editor.document().data().recoveredFrom, "") << "no saved file names it";
    EXPECT_TRUE(yes.editor.hasUnsavedChanges());
    EXPECT_EQ(test::readBytes(yes.store->ownCopy()), test::exampleFileBytes()) << "adopted";
    EXPECT_EQ(yes.editor.document().data().settings.separation, 7) << "with the editor's data";

    Restart no(test::exampleFileBytes());
    no.commands.offerRecovery(*no.store); // answered No
    ASSERT_EQ(no.ui.messages.size(), 1u);
    EXPECT_NE(no.ui.messages[0].text.find("(Valmora, 2 treni, mai salvato, modificato il "),
              std::string::npos);
    EXPECT_FALSE(no.editor.scenarioOpen());
    EXPECT_NE(no.folder.listing().find("recupero"), std::string::npos);
    EXPECT_TRUE(no.store->orphans().empty());

    Restart broken("Stazione di = A\r\n");
    broken.commands.offerRecovery(*broken.store);
    ASSERT_EQ(broken.ui.messages.size(), 1u);
    EXPECT_NE(broken.ui.messages[0].text.find("non si può leggere: 1001 Riga 2"), std::string::npos)
        << broken.ui.messages[0].text;
    EXPECT_NE(broken.ui.messages[0].text.find("non-salvato-"), std::string::npos);
    EXPECT_FALSE(broken.editor.scenarioOpen());
}

// A copy another editor adopted between the listing and the reading is no error and no message:
// nothing is reported, nothing set aside under a name that is not there.
TEST(Recovery, ACopyAnotherEditorTookIsNoError) {
    Restart late(test::exampleFileBytes());
    RecoveryStore::testHook() = [](std::string_view moment, const std::string& path) {
        if (moment == "orphan-found")
            std::remove(path.c_str());
    };
    late.commands.offerRecovery(*late.store);
    RecoveryStore::testHook() = nullptr;
    EXPECT_TRUE(late.ui.messages.empty());
    EXPECT_FALSE(late.editor.scenarioOpen());
    for (const auto& entry : std::filesystem::directory_iterator(late.store->folder()))
        EXPECT_EQ(entry.path().filename().string().find("non-salvato"), std::string::npos);
}

} // namespace
} // namespace zeb
