#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// The kinds of bookmark store: the three stores of the design, the menu
// page, and the browsers' own stores (a Firefox profile's database, a
// Chromium-family profile's "Bookmarks" file, a Firefox bookmark backup),
// an XBEL file and Safari's Bookmarks.plist.
enum class StoreKind { Favorites, Netscape, Opera, Menu, Firefox, Chromium, FirefoxBackup, Xbel, Safari };

// Where one store is: its kind and its path (a folder for a Favorites
// folder, a file for a bookmark file or a menu page, a profile folder or
// the store's file in it for a browser).
struct StoreLocation {
    StoreKind kind;
    std::string path;
};

// A store found on this machine: where it is, and for a browser's profile
// the label a list shows it under (empty for the other stores).
struct FoundStore {
    StoreLocation location;
    std::string label;
};

// What a kind of store can do and which of a conversion's choices it
// takes. A store that is written into an existing one of its kind is
// merged into (bookmark files when asked, a browser's store always, as an
// export into a browser only ever adds); a browser's store is always
// backed up before it is written, so asking for a backup is no fault.
struct StoreKindTraits {
    StoreKind kind;
    std::string_view name;        // in "kind:path" arguments: "favorites", "netscape", ...
    std::string_view description; // one store of it, article included: "a Favorites folder"
    // The name a new folder holding an import is named after: "Imported from
    // Opera (8 Dec 2026)".
    std::string_view importName;
    bool readable;
    bool writable;
    bool merges;           // "merge": added to what the target holds
    bool backsUp;          // "backup": the old store is copied first
    bool takesNewFolder;   // "new-folder"
    bool takesSubfolder;   // "existing-folder": an existing sub-folder of the target
    bool takesLinksFirst;  // "links-first": sorted output with links before sub-folders
    bool takesProfileName; // "profile": the name in the file's title
    bool takesPlace;       // "place" and "no-new-folder": a root of a browser's store
};

inline constexpr StoreKindTraits kStoreKinds[] = {
    // kind, name, description, importName,
    // readable, writable, merges, backsUp, newFolder, subfolder, linksFirst, profile, place
    {StoreKind::Favorites, "favorites", "a Favorites folder", "IE", //
     true, true, false, false, true, true, false, false, false},
    {StoreKind::Netscape, "netscape", "a Netscape-format file", "FF", //
     true, true, true, true, true, false, true, true, false},
    {StoreKind::Opera, "opera", "an Opera hotlist", "Opera", //
     true, true, true, true, true, false, true, false, false},
    {StoreKind::Menu, "menu", "a menu page", "", //
     false, true, false, false, false, false, false, false, false},
    {StoreKind::Firefox, "firefox", "a Firefox profile", "Firefox", //
     true, true, true, true, true, false, false, false, true},
    {StoreKind::Chromium, "chromium", "a Chromium-family profile", "Chromium", //
     true, true, true, true, true, false, false, false, true},
    {StoreKind::FirefoxBackup, "firefox-backup", "a Firefox bookmark backup", "Firefox", //
     true, false, false, false, false, false, false, false, false},
    {StoreKind::Xbel, "xbel", "an XBEL file", "XBEL", //
     true, true, false, true, true, false, true, false, false},
    {StoreKind::Safari, "safari", "a Safari Bookmarks.plist", "Safari", //
     true, false, false, false, false, false, false, false, false},
};

const StoreKindTraits& TraitsOf(StoreKind kind);

// Whether a store of the source kind can be converted into one of the
// target kind: every readable store into every writable one, the same kind
// included.
inline bool CanConvert(StoreKind source, StoreKind target) {
    return TraitsOf(source).readable && TraitsOf(target).writable;
}

// The store is a single bookmark file (Netscape-format, hotlist or XBEL),
// not a folder, a menu page or a browser's store.
inline bool IsBookmarkFileKind(StoreKind kind) {
    return kind == StoreKind::Netscape || kind == StoreKind::Opera || kind == StoreKind::Xbel;
}

// The store is a browser's own, kept in a profile folder.
inline bool IsBrowserStoreKind(StoreKind kind) {
    return kind == StoreKind::Firefox || kind == StoreKind::Chromium;
}

// The kind's name in "kind:path" arguments: "favorites", "netscape", ...
std::string_view StoreKindName(StoreKind kind);

// The kind as a message names one store of it, article included: "a
// Favorites folder", "a Netscape-format file", "an Opera hotlist", "a menu
// page".
std::string_view StoreKindDescription(StoreKind kind);

} // namespace tellavin
