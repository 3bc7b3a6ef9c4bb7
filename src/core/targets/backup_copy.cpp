#include "targets/backup_copy.h"

#include "platform/file_io.h"
#include "platform/local_time.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstring>

namespace tellavin {

std::string BackupPathFor(const std::string& destination) {
    auto separator = destination.rfind(PathSeparator());
    auto cut = separator == std::string::npos ? 0 : separator + 1;
    return destination.substr(0, cut) + "Backup_of_" + destination.substr(cut);
}

std::string TimedBackupPathFor(const std::string& store, std::time_t moment) {
    return store + ".tellavin-backup-" + LocalTimeText(moment, "%Y%m%d-%H%M%S");
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
