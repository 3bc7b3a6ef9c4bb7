#pragma once

#include "model/conversion_path.h"

#include <cstdint>
#include <string>

namespace tellavin {

// What the windows, readers and writers of one open conversion path share.
// One object lives for the whole run and is passed by reference.
struct SessionState {
    ConversionPath code = 0;       // 0 when no path is open
    std::string favoritesFolder;   // source of paths 2, 5, 7; target of 4, 9
    std::string sourceFile;        // Netscape file or hotlist being read
    std::string destinationFile;   // Netscape file or hotlist being written
    std::string menuFile;          // menu page being written
    std::string profileName;       // shown in a written Netscape file's title
    std::int32_t nSourceFolders = 0;
    std::int32_t nSourceLinks = 0;
};

// Ends the open path: clears the code, the source paths and the counts.
// The destination, the menu page and the profile name survive for the next
// path the user opens.
void ResetSharedState(SessionState& state);

} // namespace tellavin
