#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tellavin {

// Where a folder's links go, as the "links before folders" check box holds
// it: after the sub-folders (unchecked), before them (checked), or nowhere
// (the grey state).
enum class LinksPlacement : std::int32_t { AfterFolders = 0, BeforeFolders = 1, None = 2 };

// The root of a browser's own store that receives an export: the bookmarks
// bar (Firefox's toolbar), Firefox's bookmarks menu, or the other
// bookmarks, where an export goes unless asked otherwise.
enum class BrowserRoot { Other, Bar, Menu };

// What every writer is asked to write and how. Each kind of target takes
// the choices that apply to it; the conversion refuses the others before
// anything is written.
struct WriteOptions {
    bool exportAll = true; // everything, or only the checked folders and links
    // Folders, links and separators in the source's order (WalkOrder::Source)
    // instead of sorted; a Favorites folder, which has no order of its own,
    // notes each folder whose order it loses.
    bool keepOrder = false;
    bool merge = false; // bookmark files: add to the file
    // Into a store that holds bookmarks already: add everything as it
    // comes, instead of joining the target's folders of the same name and
    // place and leaving out the links whose address they hold (MergePlan).
    bool keepDuplicates = false;
    std::optional<std::string> newFolder;      // the export inside a new folder of this name
    std::optional<std::string> existingFolder; // Favorites: a sub-folder, relative to the target
    LinksPlacement links = LinksPlacement::AfterFolders; // bookmark files, sorted
    // The name in a Netscape-format file's title; the conversion puts in the
    // user's name when none is given.
    std::optional<std::string> profileName;
    // Browsers' stores: the root the export is added to, inside newFolder
    // when one is given.
    BrowserRoot place = BrowserRoot::Other;
};

} // namespace tellavin
