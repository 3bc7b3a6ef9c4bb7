#include "platform/atomic_file.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
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

// The files left in a folder: only the target, no temporary file.
std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
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
