#pragma once

#include "model/progress.h"
#include "model/write_options.h"
#include "platform/platform.h"
#include "selection/selection_choice.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// What "convert SOURCE TARGET" was asked to do. Each kind of target takes
// the options that apply to it.
struct ConvertArguments {
    std::string source; // kind:path, or a path recognised by its kind
    std::string target; // kind:path, or a path recognised by its kind
    bool merge = false;
    bool keepDuplicates = false; // a merge adds everything, joining and skipping nothing
    std::optional<std::string> newFolder;
    std::optional<std::string> existingFolder; // a Favorites sub-folder, relative to the target
    bool linksFirst = false;
    std::optional<std::string> profile; // the user's name when not given
    bool backup = false;
    bool keepOrder = false;                 // the source's order instead of sorted
    BrowserRoot place = BrowserRoot::Other; // browsers: the root the export goes into
    bool noNewFolder = false;               // browsers: straight into that root
    bool dryRun = false;                    // everything but the writing
    bool force = false;     // replace a bookmark file that holds many more links than the export
    bool quiet = false;     // the result line only, without the loss report
    SelectionChoice choice; // --folder and --match: what is exported, when not everything
};

// Converts a whole store into another and prints "N Folders & M Links
// Exported Successfully.", what a merge skipped and joined, and, unless
// quiet, what was not carried over. Returns the exit status: 2
// for arguments that name no store or no folder of the source, or options the target cannot
// take, 1 when the conversion was refused (a --match that finds nothing too), failed or is
// incomplete; the reasons go to err.
int RunConvert(const ConvertArguments& arguments, std::ostream& out, std::ostream& err,
               const Platform& platform, ProgressSink& progress);

} // namespace tellavin::cli
