#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/system_files.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace zeb {
namespace {

// File names are UTF-8 in the program whatever the system's own code page, and the bytes go to
// the disk and back exactly: CR LF stays CR LF, a lone LF stays a lone LF.
TEST(SystemFiles, NamesInAnyLetterAndBytesAsTheyAre) {
    test::TempFolder folder;
    const std::string bytes = "Łódź\r\nCittà\nfine\r\n";
    for (const std::string name : {"Città.zeb", "Łódź Fabryczna.zeb", "più spazi.csv"}) {
        const std::string path = folder.file(name);
        replaceFileContents(path, bytes);
        EXPECT_EQ(readScenarioFile(path), bytes) << name;
        EXPECT_EQ(fileKindOf(path), FileKind::Regular) << name;
        replaceFileContents(path, "di nuovo");
        EXPECT_EQ(readScenarioFile(path), "di nuovo") << name;
    }
    EXPECT_EQ(folder.listing(), "Città.zeb\npiù spazi.csv\nŁódź Fabryczna.zeb\n");
    // A name without its folder is one in the working folder, replaced the same way.
    const auto working = std::filesystem::current_path();
    std::filesystem::current_path(pathOf(folder.path()));
    replaceFileContents("Città.zeb", "qui");
    std::filesystem::current_path(working);
    EXPECT_EQ(readScenarioFile(folder.file("Città.zeb")), "qui");
    EXPECT_EQ(utf8Of(pathOf(folder.file("Città.zeb")).filename()), "Città.zeb");
    EXPECT_EQ(fileKindOf(folder.path()), FileKind::Folder);
    EXPECT_EQ(fileKindOf(folder.file("nessuno.zeb")), FileKind::Absent);
}

TEST(SystemFiles, OnlyTheRunningProcessesRun) {
    EXPECT_TRUE(processRunning(currentProcessId()));
    EXPECT_FALSE(processRunning(999'999'999));
}

#if defined(_WIN32)
// Another program (an antivirus, a sync tool) that holds the file for a moment does not make the
// save fail: the replacement waits for it.
TEST(SystemFiles, AFileHeldForAMomentIsReplacedOnceLetGo) {
    test::TempFolder folder;
    const std::string path = folder.file("tenuto.zeb");
    test::writeBytes(path, "vecchio");
    HANDLE held = CreateFileW(pathOf(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letGo([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(held);
    });
    replaceFileContents(path, "nuovo");
    letGo.join();
    EXPECT_EQ(readScenarioFile(path), "nuovo");
    EXPECT_EQ(folder.listing(), "tenuto.zeb\n") << "no temporary file left";
}
#endif

} // namespace
} // namespace zeb
