#pragma once

#include "model/bookmark_sink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Reads an XBEL file, the XML Bookmark Exchange Language 1.0 that KDE,
// GNOME tools and Floccus write:
//
//   xbel      := <xbel> [title] [info] [desc] { item } </xbel>
//   item      := folder | bookmark | separator | alias
//   folder    := <folder [added] [folded]> [title] [info] [desc] { item } </folder>
//   bookmark  := <bookmark href [added] [modified] [visited]> [title] [info] [desc]
//                </bookmark>
//   separator := <separator/>
//   alias     := <alias ref="id of a bookmark or folder"/>
//
// The root shows the title of the xbel element, else "Bookmarks". A folder
// is named by its title, a bookmark too, each empty without one; a title's
// text is taken whole (its text and CDATA parts joined), as UTF-8 when it
// is, else as Windows-1252; a NUL (written "&#0;") ends a text. A bookmark's "added" and
// "modified" are its creation and change dates (ISO 8601: a date, or a
// date and time with an optional fraction and a "Z" or "+hh:mm" offset); a
// date in another form is none; a folder's "added" is its creation date.
// The desc of a folder or bookmark is its description. "visited" and
// "folded" have no place in the tree. A bookmark without href is noted as
// a link without a usable address. An alias is read as a copy of the bookmark whose id it
// names and noted (LossKind::AliasCopied); an alias of a folder or of no
// id is skipped. An info element (metadata of other programs) and every
// element of another name are skipped and noted as skipped entries.
// Nesting depth is not limited.
//
// The document type is skipped: no external entity is fetched and no
// entity it declares is expanded (a reference to one stays as written).
//
// Returns empty when the file was read, else why not: the system's reason
// when it cannot be read, kNotXbel with the parser's description for a file
// that is not well-formed XML whose top element is xbel. Nothing is pushed
// into sink then.
std::string LoadXbelFile(const std::string& path, BookmarkSink& sink);

// The same for the file's text.
std::string ParseXbel(std::string_view bytes, BookmarkSink& sink);

inline constexpr const char* kNotXbel = "not an XBEL file";
inline constexpr const char* kXbelRootText = "Bookmarks";
// The reason a build without an XML parser (Debian has no pugixml for
// MinGW) gives for every XBEL file.
inline constexpr const char* kXbelUnsupported = "reading XBEL files is not supported by this build";

namespace detail {
// An XBEL date in seconds since 1970 UTC; nothing for text of another form.
std::optional<std::int64_t> XbelDateSeconds(std::string_view text);
} // namespace detail

} // namespace tellavin
