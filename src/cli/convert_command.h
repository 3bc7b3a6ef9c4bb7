#pragma once

#include "platform/platform.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// What "convert SOURCE TARGET" was asked to do. Each kind of target takes
// the options that apply to it.
struct ConvertRequest {
    std::string source; // kind:path, or a path recognised by its kind
    std::string target; // kind:path, or a path recognised by its kind
    bool merge = false;
    std::optional<std::string> newFolder;
    std::optional<std::string> existingFolder; // a Favorites sub-folder, relative to the target
    bool linksFirst = false;
    std::optional<std::string> profile; // the user's name when not given
    bool backup = false;
};

// Converts a whole store into another: loads the source with the reader of
// its kind, makes the backup copy when asked, writes the target with the
// writer of its kind and prints "N Folders & M Links Exported
// Successfully.". Returns the exit status; failures go to err.
int RunConvert(const ConvertRequest& request, std::ostream& out, std::ostream& err,
               const Platform& platform = SystemPlatform());

} // namespace tellavin::cli
