#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"
#include "platform/atomic_file.h"
#include "platform/file_name_rules.h"

#include <cstdint>
#include <string>

namespace tellavin {

// Refusal texts when the place to write does not exist.
inline constexpr const char* kFavoritesMissingTitle = "Selected Subfolder Does Not Exist";
inline constexpr const char* kFavoritesMissingText =
    "The Selected Folder Where To Export The Bookmarks";
inline constexpr const char* kSubfolderMissingText =
    "The Selected Subfolder Where To Export The Bookmarks";
inline constexpr const char* kChangeSelectionText =
    "Does Not Exist Anymore. Please, Change Selection.";
// Refusal texts when the chosen existing sub-folder leads out of the
// Favorites folder (an absolute path, "..", or a symbolic link).
inline constexpr const char* kSubfolderOutsideTitle = "Selected Subfolder Is Not Inside Favorites";
inline constexpr const char* kSubfolderOutsideText =
    "The Selected Subfolder Where To Export The Bookmarks";
inline constexpr const char* kNotInsideText =
    "Is Not Inside The Favorites Folder. Please, Change Selection.";

// Writes the tree into a Favorites folder: every written folder (checked,
// or everything exported) becomes a directory, every exported link an
// Internet Shortcut file named after it with the extension ".URL". A
// folder that is not written is left out of the paths below it, so the
// contents of a checked folder under an unchecked one land in the nearest
// written ancestor's directory. Existing directories are used and shortcut
// files of the same name replaced, names matched without regard to letter
// case as on Windows; everything else in the folder stays. A symbolic link
// where a folder or shortcut goes is never followed: that folder or link is
// not written, and the link is left alone. Unless options.keepDuplicates,
// a link whose address a shortcut of its directory held before the export
// (NormalizedAddress) is left out, and an existing directory a folder goes
// into is counted as joined, not as written.
// Two links of one folder whose file names come out equal (in any letter
// case) are kept apart by a number: "a-b.URL", then "a-b(2).URL"; so are
// two sub-folders, "Misc" and "Misc(2)", never mixed in one directory. A
// folder whose name comes out empty (unnamed, or only dots) is the
// directory "-". The first toolbar folder of the tree that is written
// straight into the base directory becomes the Links folder; any other
// toolbar folder keeps its name, and a folder of the source called Links
// is numbered. A link's change date becomes its file's last write.
// The result's losses name every name changed on the way, the creation
// dates (a shortcut file keeps none) and, with keepOrder, each folder
// whose items a Favorites folder shows in another order.
//
// Fails, writing nothing, when the Favorites folder or the chosen existing
// sub-folder does not exist or is not inside it, or the new sub-folder
// cannot be created. A link that cannot be written is counted in
// nLinksNotWritten, and so are the links of a folder that could not be
// created (which, with the folders below it, nFoldersWritten leaves out);
// the first such failure (or a folder that could not be created) is named in
// sFirstFailure. Each shortcut replaces its file in one step, so a failure
// never leaves a half-written one.
// The export goes into the Favorites folder itself, into the new sub-folder
// options.newFolder, or else into the existing sub-folder
// options.existingFolder; names are made to fit nameRules (the system's own
// unless a test asks for another's).
ExportResult ExportToFavorites(BookmarkTree& tree, const std::string& favoritesFolder,
                               const WriteOptions& options, ProgressSink& progress,
                               FileNameRules nameRules = NativeFileNameRules());

// A folder or link name as a file name component: the 43 characters whose
// UTF-8 bytes were read as Windows-1252 are repaired, then each of
// / \ : * ? < > | and the double quote becomes "-", and so does every
// control character (line breaks, tabs, NUL). Nothing else changes.
std::string SafeFileName(std::string text);

// Removes the dots that end a path component: every "." followed by the
// separator goes, repeatedly, so "Misc../" becomes "Misc/".
std::string FixTrailingDots(std::string path);

// Creates the directory path (its last component only). Succeeds when the
// directory exists afterwards, made now or before; otherwise the message
// names the path and the system's reason.
WriteResult CreateFolder(const std::string& path);

// The Internet Shortcut file of a link: exactly the two lines
// "[InternetShortcut]" and "URL=" + address, each ending in CR LF. An
// address that is not plain ASCII has its non-ASCII bytes (and control
// characters) percent-encoded as UTF-8, as browsers write it, so no reader
// sees a lossy "?".
std::string InternetShortcutText(const std::string& url);

} // namespace tellavin
