#include "targets/backup_copy.h"

#include "platform/file_io.h"
#include "platform/local_time.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tellavin {

std::string BackupPathFor(const std::string& destination) {
    // Windows takes a slash as well as its own separator.
    const char separators[] = {PathSeparator(), '/', '\0'};
    auto separator = destination.find_last_of(separators);
    auto cut = separator == std::string::npos ? 0 : separator + 1;
    return destination.substr(0, cut) + "Backup_of_" + destination.substr(cut);
}

std::string TimedBackupPathFor(const std::string& store, std::time_t moment) {
    return store + ".tellavin-backup-" + LocalTimeText(moment, "%Y%m%d-%H%M%S");
}

namespace {

namespace fs = std::filesystem;

constexpr int kBackupsPerSecond = 100;

// The backup name of the given number: the timed name, then "-2", "-3", ...
std::string NumberedBackupPath(const std::string& store, std::time_t moment, int number) {
    auto first = TimedBackupPathFor(store, moment);
    return number == 1 ? first : first + "-" + std::to_string(number);
}

// Anything at the path, a dangling link too, or nothing that can be told.
bool Taken(const std::string& path) {
    std::error_code error;
    return fs::symlink_status(PathFromUtf8(path), error).type() != fs::file_type::not_found;
}

} // namespace

std::string FreeTimedBackupPath(const std::string& store, std::time_t moment) {
    for (int number = 1; number < kBackupsPerSecond; ++number) {
        auto path = NumberedBackupPath(store, moment, number);
        if (!Taken(path)) {
            return path;
        }
    }
    return NumberedBackupPath(store, moment, kBackupsPerSecond);
}

TimedBackup MakeTimedBackup(const std::string& store, std::time_t moment) {
    TimedBackup backup;
    for (int number = 1; number <= kBackupsPerSecond; ++number) {
        backup.path = NumberedBackupPath(store, moment, number);
        if (Taken(backup.path)) {
            continue;
        }
        std::error_code error;
        if (fs::copy_file(PathFromUtf8(store), PathFromUtf8(backup.path), fs::copy_options::none,
                          error)) {
            backup.ok = true;
            return backup;
        }
        if (error == std::errc::file_exists) {
            continue;
        }
        std::error_code ignored;
        fs::remove(PathFromUtf8(backup.path), ignored);
        backup.reason = error.message();
        return backup;
    }
    backup.reason = "a file of that name exists already";
    return backup;
}

WriteResult MakeBackupCopy(const std::string& destination) {
    errno = 0;
    auto content = ReadWholeFile(destination);
    if (!content) {
        std::string reason = errno != 0 ? std::strerror(errno) : "it cannot be read";
        return {false, "Cannot read \"" + destination + "\": " + reason};
    }
    return WriteFileAtomically(BackupPathFor(destination), *content);
}

} // namespace tellavin
