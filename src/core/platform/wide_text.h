#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Text at the edge of the Windows API, which takes and gives UTF-16: the
// program keeps UTF-8 inside and converts at every system call. Invalid
// UTF-8 becomes U+FFFD rather than a failed call.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// A path for the wide file functions: a path that nears the classic
// 260-character limit is made absolute, with backslashes, and given the
// long-path prefix (\\?\, or \\?\UNC\ for a share), under which the
// system takes paths of up to 32,767 characters as they are. A shorter path
// stays as it is.
std::wstring WidePath(std::string_view utf8);
// A path from the system as UTF-8, without the long-path prefix.
std::string Utf8FromWidePath(std::wstring_view path);

// The system's own wording of an error code, in UTF-8 without the line
// break that ends it.
std::string SystemErrorText(unsigned long code);

} // namespace tellavin
