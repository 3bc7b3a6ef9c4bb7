#pragma once

#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Where the program keeps its INI files (the settings file and the colour
// presets). Beside the executable for a portable copy: a folder the user may
// write in that already holds the settings file, or a writable folder that is
// not an installed copy's (the build, a copy unpacked anywhere), where the
// first change then makes the file. Otherwise, for an installed copy or a
// folder the user may not write in, the user's configuration folder: the
// application-data special folder plus "tellavin" ($XDG_CONFIG_HOME/tellavin
// or ~/.config/tellavin on Linux). A folder such as ~/.local/bin is writable
// but shared by every program installed there, so a writable folder alone
// does not make a portable copy. The folder is not created here; the first
// write creates it.
std::string SettingsFolder(const Platform& platform);

// The folder that holds what is installed with the program (the help page,
// the colour presets): "share/tellavin" beside the bin folder that holds the
// program, as /usr/share/tellavin for /usr/bin/tellavin, when that folder
// exists; nothing when the program's folder is not named "bin" or no such
// folder was installed. Its existence is what marks an installed copy.
std::optional<std::string> InstalledDataFolder(const std::string& programFolder);

// The path of a file installed with the program: beside the program when it
// is there (the build, a portable copy), else in the installed data folder
// when it is there; beside the program when neither holds it, so that a
// message about it names where it was expected.
std::string InstalledFile(const std::string& programFolder, std::string_view name);

// The name of the settings file ("tellavin.ini"): the same for the desktop
// program and the command line, so that both see one exported-items total
// and one list of colour presets.
inline constexpr const char* kProgramName = "tellavin";

} // namespace tellavin
