#include "platform/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tellavin {
namespace {

using test::TempDir;
using test::WriteFile;

// Text in which every byte tells its place, so a half read twice, dropped
// or swapped shows.
std::string NumberedText(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    }
    return text;
}

// Small files are read in one piece, files of 32 MiB and more in two halves
// at once; either way the content comes back byte for byte, whatever the
// size's parity.
TEST(ReadWholeFile, ReturnsTheContentOfFilesOfEverySize) {
    const std::size_t sizes[] = {
        0, 1, 4096, 100000, std::size_t{32} << 20, (std::size_t{32} << 20) + 3};
    for (auto size : sizes) {
        TempDir dir;
        const auto text = NumberedText(size);
        WriteFile(dir.path() / "file", text);
        auto read = ReadWholeFile(dir / "file");
        ASSERT_TRUE(read.has_value()) << size;
        EXPECT_TRUE(*read == text) << size << " bytes read as " << read->size();
    }
}

// A file of at most the limit is read whole; a larger one is not read.
TEST(ReadSmallFile, ReadsUpToTheLimitAndNothingAbove) {
    TempDir dir;
    WriteFile(dir.path() / "file", "0123456789");
    EXPECT_EQ(ReadSmallFile(dir / "file", 10), "0123456789");
    EXPECT_FALSE(ReadSmallFile(dir / "file", 9));
    EXPECT_FALSE(ReadSmallFile(dir / "missing", 10));
}

// What is no regular file reads as nothing: a missing file, a folder and,
// without waiting for a writer, a named pipe.
TEST(ReadWholeFile, RefusesWhatIsNoRegularFile) {
    TempDir dir;
    EXPECT_FALSE(ReadWholeFile(dir / "missing"));
    EXPECT_FALSE(ReadWholeFile(dir.path().string()));
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(dir / "pipe"));
#endif
}

} // namespace
} // namespace tellavin
