#pragma once

#include "model/progress.h"
#include "platform/platform.h"
#include "selection/selection_choice.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// The settings of the menu command, as given on the command line.
struct MenuArguments {
    bool vertical = false;
    bool newWindow = false;
    bool noUrlStatus = false;
    bool noShadows = false;
    bool statistics = false;
    bool keepOrder = false;        // submenus in the source's order, separators as dividers
    std::optional<int> breakAfter; // submenus break after this many entries
    std::string title = "Bookmarks By Tellavin";
    std::string colors;     // eight colours, "c0,...,c7"
    std::string preset;     // a colour preset by name
    bool dryRun = false;    // everything but the writing
    bool quiet = false;     // the result line only, without the loss report
    SelectionChoice choice; // --folder and --match: what is published, when not everything
};

// Publishes a store, or what its choice chooses of it, as a menu page, which adds its items to the
// exported-items total; returns the exit status as RunConvert does.
int RunMenu(const std::string& source, const std::string& page, const MenuArguments& arguments,
            std::ostream& out, std::ostream& err, const Platform& platform, ProgressSink& progress);

} // namespace tellavin::cli
