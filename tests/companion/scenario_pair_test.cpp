#include "companion/editor_data.h"

#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zeb {
namespace {

const std::string kOldScenario = "old scenario\r\n";
const EditorData kOldData{.settings = {.separation = 4}};
const EditorData kNewData{.settings = {.separation = 9},
                          .links = {{{"1", "A", "10:00"}, {"2", "B", "10:30"}}}};

// A folder with an old pair saved as one, "day.zeb" and its data.
class ScenarioPair : public ::testing::Test {
protected:
    void SetUp() override { writeScenarioPair(scenario(), kOldScenario, kOldData); }
    std::string scenario() const { return folder.file("day.zeb"); }
    std::string companion() const { return folder.file("day.zeb-editor"); }
    // The save of a new pair, and the number of the error it failed with (0 for none).
    int save(const std::string& path, const EditorData& data = kNewData) {
        try {
            writeScenarioPair(path, "new scenario\r\n", data);
            return 0;
        } catch (const ScenarioFileError& error) {
            lastMessage = error.message();
            return error.number();
        }
    }
    void expectOldPair() {
        EXPECT_EQ(test::readBytes(scenario()), kOldScenario);
        const EditorDataRead read = loadEditorData(scenario());
        EXPECT_EQ(read.data, kOldData);
        EXPECT_FALSE(read.note) << *read.note;
    }

    test::TempFolder folder;
    std::string lastMessage;
};

TEST_F(ScenarioPair, ASaveWritesBothAndEachNamesTheOther) {
    const PairOnDisk written = writeScenarioPair(scenario(), "new scenario\r\n", kNewData);
    EXPECT_EQ(written, pairOnDisk(scenario())) << "the pair as written is the pair read back";
    EXPECT_EQ(test::readBytes(scenario()), "new scenario\r\n");
    const EditorDataRead read = loadEditorData(scenario());
    EXPECT_EQ(read.data, kNewData);
    EXPECT_FALSE(read.note);
    EXPECT_EQ(folder.listing(), "day.zeb\nday.zeb-editor\n") << "no temporary file is left";
}

// A pair split by another program, or by a kill between the two renames, says so.
TEST_F(ScenarioPair, AScenarioChangedApartFromItsDataIsSaid) {
    test::writeBytes(scenario(), "edited elsewhere\r\n");
    const EditorDataRead read = loadEditorData(scenario());
    EXPECT_EQ(read.data, kOldData) << "what can be matched is kept";
    EXPECT_EQ(read.note.value_or(""),
              "I dati dell'editor del file day.zeb-editor sono di un'altra versione di questo "
              "scenario: i collegamenti si ritrovano, dove si può, per numero e orario dei treni.");
}

#if !defined(_WIN32) // FIFOs and symbolic links
// A FIFO where either file goes, or a link to one, is refused before either is written.
TEST_F(ScenarioPair, AFifoForEitherFileWritesNeither) {
    ASSERT_EQ(mkfifo(folder.file("pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("pipe", folder.file("through-pipe.zeb").c_str()), 0);
    EXPECT_EQ(save(folder.file("through-pipe.zeb")), 1012) << "a FIFO is no scenario";
    struct stat info {};
    ASSERT_EQ(lstat(folder.file("pipe").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "left as it was";

    std::filesystem::remove(companion());
    ASSERT_EQ(symlink("pipe", companion().c_str()), 0);
    EXPECT_EQ(save(scenario()), 1012) << "nor its companion";
    EXPECT_EQ(test::readBytes(scenario()), kOldScenario);
    std::filesystem::remove(companion());
}
#endif

// Whatever stands where the pair goes, a save writes either both files or neither.
TEST_F(ScenarioPair, WhatCannotBeWrittenWritesNeither) {
    std::filesystem::remove(companion());
    std::filesystem::create_directory(companion());
    EXPECT_EQ(save(scenario()), EISDIR);
    EXPECT_EQ(test::readBytes(scenario()), kOldScenario);
    std::filesystem::remove(companion());

    const std::string longName = folder.file(std::string(250, 'L') + ".zeb");
    EXPECT_EQ(save(longName), ENAMETOOLONG);
    EXPECT_NE(lastMessage.find("troppo lungo per il file dei dati dell'editor"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(longName)) << "refused before anything is written";

    EditorData huge = kNewData;
    huge.trackRules.assign(kMostTrackRules + 1, {"", "", "", RulePassage::Any, -1, -1, {"1"}, {}});
    writeScenarioPair(scenario(), kOldScenario, kOldData);
    EXPECT_EQ(save(scenario(), huge), 1010) << "more rules than the reader takes back";
    expectOldPair();
    EXPECT_EQ(folder.listing(), "day.zeb\nday.zeb-editor\n");
}

#if !defined(_WIN32) // symbolic links
// A scenario opened through a link is saved through it, its data beside the file it points to.
TEST_F(ScenarioPair, ALinkIsResolvedOnceForBothFiles) {
    std::filesystem::create_directory(folder.file("giorni"));
    ASSERT_EQ(symlink("../day.zeb", folder.file("giorni/oggi.zeb").c_str()), 0);
    ASSERT_EQ(symlink("giorni/oggi.zeb", folder.file("link.zeb").c_str()), 0);
    EXPECT_EQ(loadEditorData(folder.file("link.zeb")).data, kOldData);
    EXPECT_EQ(save(folder.file("link.zeb")), 0);
    EXPECT_EQ(loadEditorData(scenario()).data, kNewData);
    EXPECT_FALSE(loadEditorData(scenario()).note);
    EXPECT_EQ(folder.listing(), "day.zeb\nday.zeb-editor\ngiorni\nlink.zeb\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.zeb")));
}
#endif

// A companion file this editor cannot read whole is kept aside, never written over.
TEST_F(ScenarioPair, WhatCannotBeReadIsKeptAside) {
    const struct {
        const char* text;
        bool keptAside;
    } cases[] = {
        {R"({"formato":"zebrano-editor","versione":2,"nuovo":[1]})", true},
        {R"({"formato":"zebrano-editor","versione":1,"x":1e400})", true},
        {R"({"formato":"zebrano-editor","versione":1,"collegamenti":[7]})", true},
        {"{\"formato\":\"zebrano-e", true},
        {R"({"formato":"zebrano-editor","versione":1})", false},
    };
    for (const auto& c : cases) {
        test::TempFolder here;
        const std::string day = here.file("day.zeb");
        test::writeBytes(day, kOldScenario);
        test::writeBytes(companionPathOf(day), c.text);
        writeScenarioPair(day, kOldScenario, kNewData);
        EXPECT_EQ(loadEditorData(day).data, kNewData);
        const std::string listing = here.listing();
        EXPECT_EQ(listing.find(".non-letto-") != std::string::npos, c.keptAside) << listing;
        if (c.keptAside) {
            const auto name = listing.substr(listing.find("day.zeb-editor.non-letto-"));
            EXPECT_EQ(test::readBytes(here.file(name.substr(0, name.find('\n')))), c.text);
        }
    }
    test::writeBytes(companion() + ".non-letto-2026-12-08", "");
    EXPECT_EQ(asideNameFor(companion(), "2026-12-08"), companion() + ".non-letto-2026-12-08-2");
}

} // namespace
} // namespace zeb
