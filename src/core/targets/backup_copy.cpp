#include "targets/backup_copy.h"

#include "platform/file_io.h"
#include "platform/local_time.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tellavin {

std::string BackupPathFor(const std::string& destination) {
    auto separator = destination.rfind(PathSeparator());
    auto cut = separator == std::string::npos ? 0 : separator + 1;
    return destination.substr(0, cut) + "Backup_of_" + destination.substr(cut);
}

std::string TimedBackupPathFor(const std::string& store, std::time_t moment) {
    return store + ".tellavin-backup-" + LocalTimeText(moment, "%Y%m%d-%H%M%S");
}

TimedBackup MakeTimedBackup(const std::string& store, std::time_t moment) {
    namespace fs = std::filesystem;
    constexpr int kMostPerSecond = 100;
    const auto first = TimedBackupPathFor(store, moment);
    TimedBackup backup;
    for (int number = 1; number <= kMostPerSecond; ++number) {
        backup.path = number == 1 ? first : first + "-" + std::to_string(number);
        std::error_code error;
        if (fs::exists(fs::symlink_status(PathFromUtf8(backup.path), error))) {
            continue;
        }
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
