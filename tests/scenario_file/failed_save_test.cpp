#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb {
namespace {

const std::string kOldBytes = "the old file\r\n";

class FailedSave : public ::testing::Test {
protected:
    void SetUp() override {
        target = folder.file("scenario.zeb");
        test::writeBytes(target, kOldBytes);
        s = test::exampleScenario();
        s.nome_file = target;
        s.treno_attuale = 1; // a train is shown
    }

    // Saves, expects the failure `number`, and checks nothing was lost or left behind.
    void expectFailure(int number, const std::string& listing) {
        try {
            Funzione_Salva_Con_Nome(s);
            FAIL() << "the save succeeded";
        } catch (const ScenarioFileError& e) {
            EXPECT_EQ(e.number(), number) << e.what();
        }
        EXPECT_EQ(test::readBytes(target), kOldBytes);
        EXPECT_EQ(folder.listing(), listing) << "no temporary file is left";
        EXPECT_EQ(s.treno_attuale, 1);
    }

    test::TempFolder folder;
    std::string target;
    Scenario s;
};

TEST_F(FailedSave, AnUnwritableTextOrAMissingFolderKeepTheOldFile) {
    s.treni[0].note = "Ωmega";
    expectFailure(static_cast<int>(FormatError::UnsavableCharacter), "scenario.zeb\n");
    s.treni[0].note = "";
    s.nome_file = folder.file("nowhere/scenario.zeb");
    expectFailure(ENOENT, "scenario.zeb\n");
}

// The disk fills up in the middle of writing: the file size limit makes write() fail with
// EFBIG as it would with ENOSPC, also for root.
TEST_F(FailedSave, ADiskThatFillsUpWhileWriting) {
    for (int i = 2; i < 400; ++i)
        s.treni[i] = s.treni[i % 2];
    s.totale_treni = 400;
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expectFailure(EFBIG, "scenario.zeb\n");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

TEST_F(FailedSave, ASuccessfulSaveKeepsPermissionsAndFollowsALink) {
    chmod(target.c_str(), 0640);
    ASSERT_EQ(symlink("scenario.zeb", folder.file("link.zeb").c_str()), 0);
    s.nome_file = folder.file("link.zeb");
    Funzione_Salva_Con_Nome(s);
    EXPECT_EQ(test::readBytes(target), test::exampleFileBytes());
    struct stat info {};
    lstat(s.nome_file.c_str(), &info);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.listing(), "link.zeb\nscenario.zeb\n");
    EXPECT_EQ(s.treno_attuale, s.totale_treni);

    const mode_t oldMask = umask(022);
    s.nome_file = folder.file("new.zeb");
    Funzione_Salva_Con_Nome(s);
    umask(oldMask);
    stat(s.nome_file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

} // namespace
} // namespace zeb
