#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tellavin {

// Folders the shell knows for the current user.
enum class SpecialFolder { Favorites, AppData, Documents, Home };

// The root keys of the Windows registry that the program reads.
enum class RegistryRoot { CurrentUser, LocalMachine };

// A registry value as the program uses it: text (string, expandable string
// unexpanded, multi-string with its inner NULs), a 32-bit number, raw bytes,
// or nothing.
using RegistryValue =
    std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

// The operating-system services the program asks for. Core code reaches the
// system only through this interface; a POSIX implementation serves Linux and
// macOS, tests use a fake.
class Platform {
public:
    virtual ~Platform() = default;

    // The logon name of the current user; empty when it cannot be found.
    virtual std::string GetCurrentUserName() const = 0;

    // Opens a document or address with the desktop's default handler, in a
    // window shown as showCommand asks (maximised, normal) where the desktop
    // lets the program choose. True when the handler took it.
    virtual bool ShellOpen(const std::string& target, std::int32_t showCommand) = 0;

    // A special folder of the current user, UTF-8, or nothing when the
    // system has none.
    virtual std::optional<std::string> GetSpecialFolder(SpecialFolder folder) const = 0;

    // An environment variable, or nothing when it is not set.
    virtual std::optional<std::string> GetEnvironment(const std::string& name) const = 0;

    // The full path of the running program, UTF-8, or nothing when the
    // system cannot tell.
    virtual std::optional<std::string> GetExecutablePath() const = 0;

    // A value under a registry key, read only; nothing when the key or the
    // value is missing, its type is not one of RegistryValue's, or the
    // system has no registry.
    virtual std::optional<RegistryValue> QueryRegistryValue(RegistryRoot root,
                                                            const std::string& keyPath,
                                                            const std::string& valueName) const = 0;

    // The executable names of the running processes, without folders (a
    // process may appear under more than one name), or nothing when the
    // process list cannot be read.
    virtual std::optional<std::vector<std::string>> ListProcessNames() const = 0;
};

// The implementation for the system the program was built for.
Platform& SystemPlatform();

// Makes a write beyond the process's file-size limit fail with an error
// that the writer reports, leaving the old target whole, instead of the
// system ending the process half-way. Called once at start-up.
void ReportFileSizeLimitAsError();

// Standard error goes to a terminal (where a progress line can update in
// place), not to a file or a pipe.
bool StandardErrorIsTerminal();

// The character that separates folders in a path on this system.
char PathSeparator();

// The text with the path separator appended unless it already ends in one.
std::string EnsureTrailingSeparator(std::string path);

// A path that is "~" alone or starts with "~" and the path separator, with
// the "~" replaced by the user's home folder, as a shell expands it; any
// other path, or any path when the system names no home folder, as it is.
std::string WithHomeExpanded(std::string path, const Platform& platform);

// The text up to, not including, its first NUL character.
std::string StripAtNull(std::string text);

} // namespace tellavin
