#pragma once

#include <string>

namespace tellavin {

// Small file-system tests shared by the readers, the writers and the
// windows. None of them fails: every error counts as "no".

// A directory of that name exists.
bool FolderExists(const std::string& path);
// The file can be opened for reading.
bool FileExists(const std::string& path);
// The file exists, or could be created because the folder before the last
// separator exists.
bool PathExists(const std::string& path);
// The file exists and may not be written: it grants nobody write
// permission, or the current user may not write it. A missing file is not
// read-only.
bool IsReadOnly(const std::string& path);
// A directory of that name exists and the current user may create files in
// it.
bool FolderIsWritable(const std::string& path);
// Something other than a regular file or a directory has the name: a pipe,
// a socket or a device, which is neither read as a store nor replaced (a
// read from a pipe would wait for ever for a writer that never comes).
bool IsSpecialFile(const std::string& path);

} // namespace tellavin
