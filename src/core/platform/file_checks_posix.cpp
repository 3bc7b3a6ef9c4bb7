#include "platform/file_checks.h"
#include "platform/platform.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

bool FolderExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

bool PathExists(const std::string& path) {
    if (FileExists(path)) {
        return true;
    }
    auto separator = path.rfind(PathSeparator());
    if (separator == std::string::npos) {
        return false;
    }
    return FolderExists(separator == 0 ? std::string(1, PathSeparator())
                                       : path.substr(0, separator));
}

bool IsReadOnly(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    // A file nobody may write is read-only even for root, like a file with
    // the read-only attribute on Windows.
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool FolderIsWritable(const std::string& path) {
    return FolderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool IsSpecialFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

} // namespace tellavin
