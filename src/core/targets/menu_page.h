#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/menu_colors.h"
#include "model/progress.h"
#include "model/write_options.h"
#include "targets/text_width.h"

#include <cstdint>
#include <string>

namespace tellavin {

// Everything a menu page is made from besides the tree, filled by the caller.
struct MenuPageOptions {
    bool bVertical = false;       // root column at the left instead of a bar across the top
    bool bOpenNew = true;         // links open in a new window
    bool bShowUrl = true;         // the status bar shows a link's address under the pointer
    bool bShadows = true;         // drop shadows behind the submenus
    bool bShowStatistics = false; // the line with the date and the numbers exported
    bool bBreakMenus = true;      // break submenus after nMaxItems entries
    std::int32_t nMaxItems = 25;  // 2 to 99; without bBreakMenus menus break after 1000
    std::string sPageTitle = "Bookmarks By Tellavin";
    MenuColors colors = kCustomColors;
    // The totals counted in the source, shown by the statistics line when
    // everything is exported (a selection shows the tree's selected counts).
    std::int32_t nSourceFolders = 0;
    std::int32_t nSourceLinks = 0;
    // When the page is made, as the user's system writes a date with its
    // time (the header comment) and a short date (the statistics line).
    std::string sCreatedDateTime;
    std::string sCreatedDate;
};

// The whole page as text, with its result.
struct MenuPage {
    std::string text;
    ExportResult result;
};

// The caption and first line of the result when the page cannot be written.
inline constexpr const char* kMenuWriteErrorTitle = "Error";
inline constexpr const char* kMenuWriteErrorText = "Error Writing the DHTML Menu File.";

// Makes the menu page of a tree: the header, the styles, the engine, the
// script that declares the menus (the root bar, then one submenu per
// written folder in tree order, sub-folders before links, or with keepOrder
// every row at its place and a separator as a 'div:' divider item) and the
// visible layout. What is written and in which order come from write
// (exportAll, keepOrder), the page's look from look. Sorted, each separator
// is noted as dropped in the result's losses. Every line ends in CR LF; the
// text is UTF-8. The status text of progress names each folder as it is
// written.
MenuPage ComposeMenuPage(BookmarkTree& tree, const WriteOptions& write, const MenuPageOptions& look,
                         ProgressSink& progress, const TextMeasure& measure = BuiltinTextMeasure());

// Composes the page and replaces the file at path with it in one step, so a
// failed write leaves any old page whole. The caller adds nMenuItems to the
// exported-items total.
ExportResult WriteMenuPage(BookmarkTree& tree, const std::string& path, const WriteOptions& write,
                           const MenuPageOptions& look, ProgressSink& progress,
                           const TextMeasure& measure = BuiltinTextMeasure());

} // namespace tellavin
