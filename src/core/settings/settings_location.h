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

// The name of the settings file ("tellavin.ini"): the same for the desktop
// program and the command line, so that both see one exported-items total
// and one list of colour presets.
inline constexpr const char* kProgramName = "tellavin";

} // namespace tellavin
