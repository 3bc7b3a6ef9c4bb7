#pragma once

#include "platform/platform.h"

#include <string>

namespace tellavin {

// Where the program keeps its INI files (the settings file and the colour
// presets): beside the executable when the user may write in that folder (a
// portable install), otherwise in the user's configuration folder, the
// application-data special folder plus "tellavin" ($XDG_CONFIG_HOME/tellavin
// or ~/.config/tellavin on Linux). The folder is not created here; the first
// write creates it.
std::string SettingsFolder(const Platform& platform);

// The executable's file name without its extension, which names the
// settings file; "tellavin" when the system cannot tell.
std::string ProgramName(const Platform& platform);

} // namespace tellavin
