// Whether Firefox runs on a profile is told by the lock on its .parentlock
// file alone, which another process holds here the way Firefox does; the
// "lock" link Firefox leaves behind tells nothing. A profile in use is not
// written.
#include "support/temp_dir.h"
#include "targets/firefox_places_writer.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// Another process holding an fcntl write lock on a file, as a running
// Firefox holds its profile's .parentlock, until the object goes.
class LockingProcess {
public:
    explicit LockingProcess(const fs::path& file) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release_[1]);
            int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT, 0644);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            char done = ::fcntl(descriptor, F_SETLK, &lock) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &done, 1);
            // Holds the lock until the test closes its end of the pipe.
            (void)!::read(release_[0], &done, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char done = 'n';
        locked_ = ::read(ready[0], &done, 1) == 1 && done == 'y';
        ::close(ready[0]);
    }
    ~LockingProcess() {
        ::close(release_[1]);
        if (pid_ > 0) {
            ::waitpid(pid_, nullptr, 0);
        }
    }
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;

    bool Locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    int release_[2] = {-1, -1};
    bool locked_ = false;
};

std::string Said(std::optional<bool> running) {
    return running ? (*running ? "runs" : "does not run") : "cannot tell";
}

TEST(FirefoxProfile, OnlyALockHeldByAnotherProcessSaysFirefoxRuns) {
    struct Case {
        const char* what;
        bool parentLock;
        bool staleLink;
        bool held;
        const char* expected;
    };
    const Case cases[] = {
        {"a profile never opened", false, false, false, "does not run"},
        {"a profile Firefox quit", true, true, false, "does not run"},
        {"a profile Firefox runs on", true, true, true, "runs"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto lockFile = dir.path() / ".parentlock";
        if (row.parentLock) {
            test::WriteFile(lockFile, "");
        }
        if (row.staleLink) {
            fs::create_symlink("127.0.0.1:+999999", dir.path() / "lock");
        }
        std::optional<LockingProcess> firefox;
        if (row.held) {
            firefox.emplace(lockFile);
            ASSERT_TRUE(firefox->Locked()) << row.what;
        }
        EXPECT_EQ(Said(FirefoxRunsOnProfile(dir.path().string())), row.expected) << row.what;
    }
}

TEST(FirefoxProfile, AProfileFirefoxRunsOnIsNotWritten) {
    test::TempDir dir;
    auto database = dir.path() / "places.sqlite";
    fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-86-empty.sqlite", database);
    auto bytes = test::ReadFile(database);
    LockingProcess firefox(dir.path() / ".parentlock");
    ASSERT_TRUE(firefox.Locked());
    BookmarkTree tree;
    NullProgress progress;
    auto result = WriteFirefoxPlaces(tree, database.string(), {}, 0, progress);
    EXPECT_EQ(result.outcome.kind, OutcomeKind::BrowserRunning);
    EXPECT_EQ(result.outcome.subject, "Firefox");
    EXPECT_TRUE(test::ReadFile(database) == bytes);
}

} // namespace
} // namespace tellavin
