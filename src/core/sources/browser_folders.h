#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

namespace tellavin {

// Which browser a target file belongs to, by where it lies: a running
// browser only matters for a file in its own folders, and only Firefox needs
// telling how to bring a written file in.

// The file lies in Firefox's folders: below one of its data folders
// (FirefoxDataFolders), or in a profile folder anywhere (one that holds
// Firefox's prefs.js or places.sqlite beside the file).
bool LiesInFirefoxFolders(const std::string& file, const Platform& platform);

// The file lies below one of Opera's profile folders (OperaProfileFolders).
bool LiesInOperaFolders(const std::string& file, const Platform& platform);

// Firefox never reads a profile's bookmarks.html on its own: for a file in
// its folders, the lines that tell how to import it; empty otherwise.
std::vector<std::string> FirefoxImportAdvice(const std::string& file, const Platform& platform);

} // namespace tellavin
