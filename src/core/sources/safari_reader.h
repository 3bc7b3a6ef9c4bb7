#pragma once

#include "model/bookmark_sink.h"

#include <string>
#include <string_view>

namespace tellavin {

// Reads Safari's Bookmarks.plist, a property list (binary "bplist00" or
// XML) whose top dictionary is a list of the form
//
//   list := {WebBookmarkType: "WebBookmarkTypeList", Title: text, Children: [node, ...]}
//   leaf := {WebBookmarkType: "WebBookmarkTypeLeaf", URLString: address,
//            URIDictionary: {title: text}, ReadingList: {DateAdded: date, ...}}
//   proxy:= {WebBookmarkType: "WebBookmarkTypeProxy", ...}   (History)
//
// A node without WebBookmarkType is a list when it has Children and a leaf
// when it has URLString. The top list's children make the tree: the list
// titled "BookmarksBar" is the folder "Favorites", marked as the toolbar;
// "BookmarksMenu" is the folder "Bookmarks Menu"; "com.apple.ReadingList"
// is the folder "Reading List"; every other list is a folder under its
// Title, every leaf a link named by URIDictionary's title, else by its
// Title. Proxies (History) hold no bookmarks and are passed over. A leaf's
// ReadingList DateAdded is its creation date. A leaf without an address is
// noted as a link without a usable address, a node of another type as a
// skipped entry. Nesting depth is not limited. Text is taken as stored,
// without NULs.
//
// Returns empty when the file was read, else why not: the system's reason
// when it cannot be read, kNotSafariBookmarks for a file that is no
// property list with a dictionary at the top. Nothing is pushed into sink
// then.
std::string LoadSafariBookmarks(const std::string& path, BookmarkSink& sink);

// The same for the file's bytes.
std::string ParseSafariBookmarks(std::string_view bytes, BookmarkSink& sink);

inline constexpr const char* kNotSafariBookmarks = "not a Safari Bookmarks.plist";
inline constexpr const char* kSafariRootText = "Safari";
// The file in a folder named as a Safari store.
inline constexpr const char* kSafariBookmarksFile = "Bookmarks.plist";
// The reason a build without libplist (Debian has none for MinGW) gives
// for every Safari file.
inline constexpr const char* kSafariUnsupported =
    "reading Safari's bookmarks is not supported by this build";

} // namespace tellavin
