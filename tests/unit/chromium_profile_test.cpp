// Which file of a Chromium-family profile holds its bookmarks, and whether
// a browser runs on it, from the lock it keeps in its user-data folder.
#include "platform/profile_lock.h"
#include "sources/chromium_profile.h"
#include "support/chromium_files.h"
#include "support/temp_dir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The store's file name and what it tells, "(none)" when it is missing.
std::string StoreText(const ChromiumProfileFiles& files, const fs::path& profile) {
    auto text = fs::relative(files.bookmarksFile, profile.parent_path()).string();
    text += fs::exists(files.bookmarksFile) ? "" : " (none)";
    text += files.accountStore ? " account" : "";
    text += files.hasEncryptedCopy ? " encrypted" : "";
    return text + " in " + fs::relative(files.profileFolder, profile.parent_path()).string();
}

struct StoreCase {
    const char* profile;
    const char* encryptedCopy; // a file made beside the store, or nullptr
    const char* given;         // the path asked about, below the user-data folder
    const char* expected;
};

TEST(ChromiumProfile, TheStoreOfAFolderOrAFile) {
    const StoreCase cases[] = {
        {"empty", nullptr, "Default", "Default/Bookmarks (none) in Default"},
        {"filled", nullptr, "Default/", "Default/Bookmarks in Default"},
        {"filled", "EncryptedBookmarks2", "Default", "Default/Bookmarks encrypted in Default"},
        {"account-only", "EncryptedAccountBookmarks2", "Default",
         "Default/AccountBookmarks account encrypted in Default"},
        // The other store's encrypted copy is not this store's.
        {"account-only", "EncryptedBookmarks2", "Default",
         "Default/AccountBookmarks account in Default"},
        {"account-empty", nullptr, "Default", "Default/Bookmarks in Default"},
        // A file is the store as given, whatever the folder holds.
        {"account-empty", nullptr, "Default/AccountBookmarks",
         "Default/AccountBookmarks account in Default"},
        {"filled", nullptr, "Default/Copy of Bookmarks",
         "Default/Copy of Bookmarks (none) in Default"},
    };
    for (const auto& row : cases) {
        TempDir dir;
        auto profile = test::CopyChromiumProfile(row.profile, dir.path());
        if (row.encryptedCopy != nullptr) {
            test::WriteFile(fs::path(profile) / row.encryptedCopy, "v10");
        }
        auto files = ChromiumBookmarksOf((dir.path() / row.given).string());
        EXPECT_EQ(StoreText(files, profile), row.expected) << row.profile << " " << row.given;
    }
}

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

// A process that has ended and been reaped.
pid_t DeadProcess() {
    pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

struct LockCase {
    const char* name;
    std::string target; // of the SingletonLock link; empty: no link
    std::optional<bool> expected;
};

TEST(ChromiumProfile, ALiveBrowserOnThisHostHoldsTheProfileAStaleLockDoesNot) {
    const auto host = HostName();
    const LockCase cases[] = {
        {"this host, live process", host + "-" + std::to_string(getpid()), true},
        {"this host, process 1", host + "-1", true},
        {"this host, dead process", host + "-" + std::to_string(DeadProcess()), false},
        {"another host", "other-" + host + "-" + std::to_string(getpid()), false},
        {"no lock", "", false},
        {"no process number", host + "-", std::nullopt},
        {"not a lock", "garbage", std::nullopt},
    };
    for (const auto& row : cases) {
        TempDir dir;
        auto profile = test::CopyChromiumProfile("empty", dir.path());
        if (!row.target.empty()) {
            fs::create_symlink(row.target, dir.path() / "SingletonLock");
        }
        EXPECT_EQ(ChromiumRunsOnProfile(profile), row.expected) << row.name;
    }
}

TEST(ChromiumProfile, TheLocksTargetSplitsAtItsLastDash) {
    const std::pair<const char*, const char*> cases[] = {
        {"my-laptop-4242", "my-laptop/4242"},
        {"host-0", "(none)"},
        {"host-12x", "(none)"},
        {"-12", "(none)"},
        {"host-99999999999999999999", "(none)"},
    };
    for (const auto& [target, expected] : cases) {
        auto owner = detail::ParseSingletonLock(target);
        EXPECT_EQ(owner ? owner->host + "/" + std::to_string(owner->pid) : "(none)", expected)
            << target;
    }
}

} // namespace
} // namespace tellavin
