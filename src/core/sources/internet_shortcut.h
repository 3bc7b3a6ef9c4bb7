#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Reading an Internet Shortcut (.url) file: an INI text whose section
// [InternetShortcut] holds the address under the key URL. The file is read
// with the rules of the Windows profile functions (see IniDocument); every
// other section and key is ignored.
//
// Text is decoded at the edge: a UTF-16 file (with its byte order mark) is
// converted, valid UTF-8 stays, anything else is Windows-1252. Windows keeps
// a lossy "?" copy of a Unicode address in the base section and the real one,
// UTF-7 encoded, in [InternetShortcut.W]; when [InternetShortcut.A] repeats
// the base value, the .W address is the one taken. The address ends at a
// NUL byte and loses any line breaks and tabs.
//
// The keys IconFile, the file the link's icon comes from, and IconIndex,
// which icon of that file it is, are read by the same rules.

// What a shortcut file says about its link.
struct ShortcutFields {
    std::string url;
    std::string iconFile; // a path or an address; empty when the file names none
    // Which icon of IconFile: only a program or library file holds more
    // than one; an image file is icon 0. Empty when the file names none.
    std::string iconIndex;
};

ShortcutFields ShortcutFieldsFromText(std::string_view fileBytes);
std::string ShortcutUrlFromText(std::string_view fileBytes);

// What the shortcut file at path says; empty fields when the file cannot be
// read or holds no such keys.
ShortcutFields ReadShortcutFields(const std::string& path);
// The address of the shortcut file at path; empty when the file cannot be
// read or holds no address.
std::string ReadShortcutUrl(const std::string& path);

} // namespace tellavin
