#include "platform/process_list.h"
#include "platform/running_process.h"
#include "support/fake_platform.h"
#include "support/named_process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ProcessList, CommandAndExecutableNamesOfEveryProcess) {
    TempDir proc;
    WriteFile(proc.path() / "1" / "comm", "bash\n");
    fs::create_symlink("/usr/bin/bash", proc.path() / "1" / "exe");
    // A content process of a browser upgraded while it runs.
    WriteFile(proc.path() / "4711" / "comm", "Web Content\n");
    fs::create_symlink("/usr/lib/firefox/firefox (deleted)", proc.path() / "4711" / "exe");
    // A process of another user: only its command name can be read.
    WriteFile(proc.path() / "80" / "comm", "firefox-esr\n");
    // A process that ended while the list was read, and entries that are no
    // processes.
    fs::create_directories(proc.path() / "99");
    WriteFile(proc.path() / "self" / "comm", "should not appear\n");
    WriteFile(proc.path() / "uptime", "1.0 2.0\n");

    auto names = ReadProcessNames(proc.path().string());
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(Sorted(*names),
              (std::vector<std::string>{"Web Content", "bash", "firefox", "firefox-esr"}));
}

TEST(ProcessList, NoListWithoutAProcFileSystem) {
    TempDir dir;
    EXPECT_FALSE(ReadProcessNames(dir / "missing").has_value());
    // A folder that lists nothing readable tells nothing either.
    EXPECT_FALSE(ReadProcessNames(dir.path().string()).has_value());
    fs::create_directories(dir.path() / "12");
    EXPECT_FALSE(ReadProcessNames(dir.path().string()).has_value());
}

TEST(ProcessList, TheSystemListShowsThisProcess) {
    auto names = SystemPlatform().ListProcessNames();
    if (!names) {
        GTEST_SKIP() << "this system has no readable process list";
    }
    auto self = fs::read_symlink("/proc/self/exe").filename().string();
    EXPECT_NE(std::find(names->begin(), names->end(), self), names->end());
}

TEST(IsProcessRunning, WholeNamesIgnoringCaseAndFolders) {
    test::FakePlatform platform;
    platform.processNames = std::vector<std::string>{
        "C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE", "opera.exe.bak", "/usr/bin/Opera-beta"};
    EXPECT_EQ(IsProcessRunning(platform, "firefox.exe"), true);
    EXPECT_EQ(IsProcessRunning(platform, "opera.exe"), false);
    EXPECT_EQ(IsProcessRunning(platform, "opera"), false);
    EXPECT_EQ(IsProcessRunning(platform, "opera-beta"), true);
    const std::string_view either[] = {"opera", "firefox.exe"};
    EXPECT_EQ(IsProcessRunning(platform, either), true);
}

TEST(IsProcessRunning, UnknownWhenTheListCannotBeRead) {
    test::FakePlatform platform;
    platform.processNames.reset();
    EXPECT_EQ(IsProcessRunning(platform, "firefox"), std::nullopt);
    platform.processNames = std::vector<std::string>{};
    EXPECT_EQ(IsProcessRunning(platform, "firefox"), false);
}

TEST(IsProcessRunning, SeesARealProcessStartAndEnd) {
    if (!SystemPlatform().ListProcessNames()) {
        GTEST_SKIP() << "this system has no readable process list";
    }
    TempDir dir;
    // Short enough for the kernel's 15-byte command name, unique per run.
    std::string name = "tlvprobe" + std::to_string(getpid() % 1000000);
    test::NamedProcess process(dir.path(), name);
    EXPECT_EQ(IsProcessRunning(SystemPlatform(), name), true);
    EXPECT_EQ(IsProcessRunning(SystemPlatform(), "TLVPROBE" + name.substr(8)), true);
    process.Stop();
    EXPECT_EQ(IsProcessRunning(SystemPlatform(), name), false);
}

} // namespace
} // namespace tellavin
