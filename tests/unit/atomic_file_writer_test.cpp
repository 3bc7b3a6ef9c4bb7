#include "platform/atomic_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif
#ifdef __linux__
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tellavin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr std::size_t kBlock = AtomicFileWriter::kBlockBytes;

// Text in which every byte tells its place, so a piece written twice,
// dropped or out of order shows.
std::string NumberedText(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    }
    return text;
}

// The files left in a folder, by name: only the target, no temporary file.
std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct PieceCase {
    const char* what;
    std::size_t pieceBytes; // appended to the buffer, WriteIfFull after each
    std::size_t totalBytes;
};

// Whatever the sizes of the pieces, around a block and across several
// blocks, the file holds the composed text exactly, and nothing else is
// left in the folder.
TEST(AtomicFileWriter, PiecesOfEverySizeAroundTheBlockMakeTheWholeText) {
    const PieceCase cases[] = {
        {"nothing", 1, 0},
        {"one byte less than a block", 1000, kBlock - 1},
        {"exactly a block", 4096, kBlock},
        {"one byte more than a block", 4096, kBlock + 1},
        {"a piece larger than a block", kBlock + 3, 3 * kBlock + 10},
        {"odd pieces over three blocks", 7919, 3 * kBlock + 5},
        {"pieces of a block minus one", kBlock - 1, 4 * kBlock},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir.path() / "out.txt", "old content");
        const auto text = NumberedText(c.totalBytes);
        AtomicFileWriter writer(dir / "out.txt");
        for (std::size_t at = 0; at < text.size(); at += c.pieceBytes) {
            writer.Buffer().append(text, at, c.pieceBytes);
            writer.WriteIfFull();
            EXPECT_LT(writer.Buffer().size(), kBlock) << c.what;
        }
        ASSERT_TRUE(writer.Commit().ok) << c.what;
        EXPECT_EQ(ReadFile(dir.path() / "out.txt"), text) << c.what;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.txt"}) << c.what;
    }
}

// Write puts its bytes after what the buffer holds, whatever that is.
TEST(AtomicFileWriter, DirectWritesKeepTheirPlaceAfterTheBuffer) {
    TempDir dir;
    const auto text = NumberedText(2 * kBlock + 17);
    AtomicFileWriter writer(dir / "out.txt");
    writer.Buffer() = text.substr(0, 10);
    writer.Write(std::string_view(text).substr(10, kBlock + 1));
    writer.Buffer() += text.substr(kBlock + 11);
    ASSERT_TRUE(writer.Commit().ok);
    EXPECT_EQ(ReadFile(dir.path() / "out.txt"), text);
}

// A writer that is dropped, as when composing stops half-way, leaves the
// old file as it was and no temporary file, even after blocks went out.
TEST(AtomicFileWriter, DroppedWithoutCommitLeavesTheOldFile) {
    TempDir dir;
    WriteFile(dir.path() / "out.txt", "old content");
    {
        AtomicFileWriter writer(dir / "out.txt");
        writer.Buffer() = NumberedText(3 * kBlock);
        writer.WriteIfFull();
    }
    EXPECT_EQ(ReadFile(dir.path() / "out.txt"), "old content");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.txt"});
}

// A target that cannot be written fails at Commit, naming the path, however
// much was composed before.
TEST(AtomicFileWriter, FailureToOpenIsReportedByCommit) {
    TempDir dir;
    const auto missing = dir / "no such folder/out.txt";
    AtomicFileWriter writer(missing);
    writer.Buffer() = NumberedText(2 * kBlock);
    writer.WriteIfFull();
    writer.Write("more");
    auto result = writer.Commit();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot write \"" + missing + "\": No such file or directory");
}

// A write into a folder removes the temporary files that earlier writes
// cut short left there once they are a day old. A younger one may be a
// write still going on, and files of other names and folders are not ours:
// they stay.
TEST(AtomicFileWriter, StaleTemporaryFilesOfCutShortWritesAreRemovedAtTheNextWrite) {
    namespace fs = std::filesystem;
#ifdef _WIN32
    const std::string stale = ".tellavin-4242-7.tmp";
    const std::string young = ".tellavin-4242-8.tmp";
    const std::string folder = ".tellavin-4242-9.tmp";
#else
    const std::string stale = ".tellavin-Ab12Cd";
    const std::string young = ".tellavin-Ef34Gh";
    const std::string folder = ".tellavin-Ij56Kl";
#endif
    struct Leftover {
        std::string name;
        bool folder;
        std::chrono::hours age;
    };
    const Leftover leftovers[] = {
        {stale, false, std::chrono::hours(25)},
        {young, false, std::chrono::hours(1)},
        {".tellavin-notes.txt", false, std::chrono::hours(25 * 30)},
        {"bookmarks.html.tmp", false, std::chrono::hours(25 * 30)},
        {folder, true, std::chrono::hours(25 * 30)},
    };
    TempDir dir;
    for (const auto& leftover : leftovers) {
        auto path = dir.path() / leftover.name;
        if (leftover.folder) {
            fs::create_directory(path);
        } else {
            WriteFile(path, "left over");
        }
        std::error_code error;
        fs::last_write_time(path, fs::file_time_type::clock::now() - leftover.age, error);
        // Not every system sets a folder's time; the folder stays either way.
        ASSERT_TRUE(!error || leftover.folder) << leftover.name << ": " << error.message();
    }
    ASSERT_TRUE(WriteFileAtomically(dir / "bookmarks.html", "new").ok);
    EXPECT_EQ(FilesIn(dir.path()),
              (std::vector<std::string>{young, folder, ".tellavin-notes.txt", "bookmarks.html",
                                        "bookmarks.html.tmp"}));
}

#ifdef __linux__
// Where the file system makes files without a name, a writer killed before
// it finished leaves nothing beside the target: the file it was writing
// goes with the process.
TEST(AtomicFileWriter, AWriterKilledMidWriteLeavesNothingBesideTheTarget) {
    TempDir dir;
    int probe = ::open(dir.path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) {
        GTEST_SKIP() << "the temporary folder's file system makes no unnamed files";
    }
    ::close(probe);
    WriteFile(dir.path() / "out.txt", "old content");
    const auto target = dir / "out.txt";
    const auto text = NumberedText(3 * kBlock);
    pid_t child = ::fork();
    if (child == 0) {
        AtomicFileWriter writer(target);
        writer.Write(text);
        ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.txt"});
    EXPECT_EQ(ReadFile(dir.path() / "out.txt"), "old content");
}
#endif

#ifndef _WIN32
// A write that fails while blocks go out in the background (here the file
// grows past the size limit the process may write) is reported by Commit,
// and the old file stays.
TEST(AtomicFileWriter, FailureOfABlockWrittenInTheBackgroundIsReported) {
    TempDir dir;
    WriteFile(dir.path() / "out.txt", "old content");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = kBlock + kBlock / 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    WriteResult result;
    {
        AtomicFileWriter writer(dir / "out.txt");
        for (int block = 0; block < 4; ++block) {
            writer.Buffer() += NumberedText(kBlock);
            writer.WriteIfFull();
        }
        result = writer.Commit();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot write \"" + (dir / "out.txt") + "\": File too large");
    EXPECT_EQ(ReadFile(dir.path() / "out.txt"), "old content");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"out.txt"});
}
#endif

} // namespace
} // namespace tellavin
