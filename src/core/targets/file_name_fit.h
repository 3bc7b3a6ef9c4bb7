#pragma once

#include "platform/file_name_rules.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Making a bookmark's name fit as a file or directory name. The names come
// in already through SafeFileName, so they hold none of / \ : * ? < > | ".
//
// POSIX: a path component holds at most 255 bytes, so a directory name is
// cut to 255 bytes and a link's file name, ".URL" included, to 255 bytes.
// Windows: a link's path before ".URL" holds at most 250 characters (the
// name is cut to what the folder path leaves), control characters become
// "-", a reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or
// without an extension) gets a "_" after it, and a directory name loses its
// trailing spaces and dots, which Windows would drop. Cuts never split a
// character.

inline constexpr std::size_t kPosixComponentBytes = 255;
inline constexpr std::size_t kWindowsLinkPathChars = 250;
inline constexpr std::string_view kShortcutExtension = ".URL";

// A directory name for a folder.
std::string FitFolderName(std::string name, FileNameRules rules);

// The part of a link's file name before ".URL", with suffix (a duplicate
// number such as "(2)") kept whole after the cut. folderPath is the
// directory the file goes into, separator included. Nothing when the
// folder path leaves no room for a name.
std::optional<std::string> FitLinkStem(std::string name, FileNameRules rules,
                                       std::string_view folderPath, std::string_view suffix = {});

namespace detail {
// The number of UTF-16 units the text takes on Windows.
std::size_t Utf16Length(std::string_view utf8);
// The longest start of the text within the limit, ending on a whole
// character.
std::string CutToBytes(std::string utf8, std::size_t maxBytes);
std::string CutToUtf16Units(std::string utf8, std::size_t maxUnits);
// The name (up to its first dot, trailing spaces ignored) is a device.
bool IsReservedDeviceName(std::string_view name);
} // namespace detail

} // namespace tellavin
