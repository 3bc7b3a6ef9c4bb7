#include "targets/backup_copy.h"

#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "platform/platform.h"

namespace tellavin {

std::string BackupPathFor(const std::string& destination) {
    auto separator = destination.rfind(PathSeparator());
    auto cut = separator == std::string::npos ? 0 : separator + 1;
    return destination.substr(0, cut) + "Backup_of_" + destination.substr(cut);
}

bool MakeBackupCopy(const std::string& destination) {
    auto content = ReadWholeFile(destination);
    return content && WriteFileAtomically(BackupPathFor(destination), *content).ok;
}

} // namespace tellavin
