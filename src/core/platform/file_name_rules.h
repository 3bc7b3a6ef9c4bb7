#pragma once

namespace tellavin {

// Which file system's naming rules a writer follows when it turns names
// into files: POSIX limits a path component to 255 bytes and forbids only
// the slash; Windows limits the whole path, forbids control characters and
// reserved device names (CON, NUL, COM1...), and drops trailing spaces and
// dots of a name.
enum class FileNameRules { Posix, Windows };

// The rules of the system the program was built for.
FileNameRules NativeFileNameRules();

} // namespace tellavin
