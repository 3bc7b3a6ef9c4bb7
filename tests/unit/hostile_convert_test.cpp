// The command line converting into targets that cannot take the result:
// a full disk, a folder where the file should be, a path below a file. Each
// ends with a message and a failure status, the old target byte for byte as
// it was, and nothing left beside it.
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCli;
using test::TempDir;
using test::WriteFile;

std::string Samples() {
    return std::string("'favorites:") + TELLAVIN_SAMPLES + "/Favorites'";
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(HostileConvert, FullDiskIsReportedAndTheOldFileStays) {
    // Each command writes a file larger than the 512 bytes the shell then
    // allows, over an old file of its kind.
    const std::pair<std::string, std::string> cases[] = {
        {"convert", "opera:hotlist.adr"},
        {"menu", "menu.html"},
    };
    for (const auto& [command, target] : cases) {
        TempDir dir;
        auto kind = target.find(':');
        auto path = dir.path() / target.substr(kind == std::string::npos ? 0 : kind + 1);
        const std::string old = "an old file the failed write must leave alone\r\n";
        WriteFile(path, old);
        auto destination =
            kind == std::string::npos ? path.string() : target.substr(0, kind + 1) + path.string();
        auto run = RunCli(Samples() + " '" + destination + "'",
                          "sh -c 'ulimit -f 1; exec \"$0\" " + command + " \"$@\"'");
        EXPECT_EQ(run.status, 1) << command << " " << target << ": -1 means it was killed";
        EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(path), old) << target;
        EXPECT_EQ(EntriesIn(dir.path()), 1u) << target;
    }
}

TEST(HostileConvert, FolderWhereAFileShouldBeAndTheReverse) {
    TempDir dir;
    WriteFile(dir.path() / "folder.html" / "inside.txt", "kept");
    WriteFile(dir.path() / "plain", "a file");
    const std::pair<std::string, std::string> cases[] = {
        {"'netscape:" + (dir / "folder.html") + "'", "'netscape:" + (dir / "out.html") + "'"},
        {"'favorites:" + (dir / "plain") + "'", "'netscape:" + (dir / "out.html") + "'"},
        {Samples(), "'netscape:" + (dir / "folder.html") + "'"},
        {Samples(), "'netscape:" + (dir / "plain/out.html") + "'"},
    };
    for (const auto& [source, target] : cases) {
        auto run = test::RunCliHere("convert " + source + " " + target);
        EXPECT_GT(run.status, 0) << source << " " << target;
        EXPECT_NE(run.err, "") << source << " " << target;
        EXPECT_EQ(run.out, "") << source << " " << target;
    }
    EXPECT_EQ(ReadFile(dir.path() / "folder.html" / "inside.txt"), "kept");
    EXPECT_EQ(EntriesIn(dir.path() / "folder.html"), 1u);
    EXPECT_EQ(ReadFile(dir.path() / "plain"), "a file");
    EXPECT_FALSE(fs::exists(dir.path() / "out.html"));
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// A pipe in a store's place would wait for ever for a writer; each command is
// cut short after 20 seconds, which a refusal never needs.
TEST(HostileConvert, PipesAreRefusedInsteadOfWaitedFor) {
    TempDir dir;
    const auto pipe = dir / "pipe.html";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string out = dir / "out.adr";
    const std::string cases[] = {
        "convert 'netscape:" + pipe + "' '" + out + "'",
        "convert '" + pipe + "' '" + out + "'",
        "convert " + Samples() + " 'netscape:" + pipe + "'",
        "menu 'opera:" + pipe + "' '" + (dir / "menu.html") + "'",
        "count '" + pipe + "'",
    };
    for (const auto& arguments : cases) {
        auto run = RunCli(arguments, "timeout 20");
        EXPECT_EQ(run.status, 1) << arguments << ": 124 means it waited on the pipe";
        EXPECT_NE(run.err.find(pipe), std::string::npos) << arguments << "\n" << run.err;
    }
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

} // namespace
} // namespace tellavin
