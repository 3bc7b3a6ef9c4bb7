#pragma once

#include "model/bookmark_sink.h"
#include "model/bookmark_tree.h"
#include "model/outcome.h"
#include "model/progress.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Reads a Netscape-format bookmark file ("<!DOCTYPE NETSCAPE-Bookmark-file-1>",
// what Firefox, Chromium and older browsers export) and reports its folders
// and links as a browser importing the file would take them.
//
// The file is HTML, and it is read as HTML rather than line by line:
//
//   file     := anything, in which these elements count:
//   <H1>text</H1>            the first one is the header: the root's text
//   <H2>..<H6>name</Hn>      a folder heading (H3 in practice); the folder is
//                            open from its heading on
//   <DL> ... </DL>           the first <DL> after a heading holds that
//                            folder's contents, and its </DL> closes the
//                            folder; any other <DL> only nests (the outer list
//                            of the file, stray lists), its </DL> closing
//                            nothing but itself
//   <A HREF="address">name</A>  a link in the innermost open folder
//
// Tags and attribute names are read in any case, attributes in any order
// and quoted with double quotes, single quotes or none, and whitespace,
// line breaks and indentation (spaces or tabs) do not matter: one line may
// hold several items (an <HR> and the next <DT>) and one item may run over
// several lines (<DT> and <A> apart, a name with a line break in it). Text
// and attribute values have their character references decoded ("&amp;",
// "&eacute;", "&#233;"). Comments, the doctype, <TITLE>, <META>, <DT> and
// <p> leave no trace. An <HR> is a separator in the innermost open folder.
// A link's or heading's ADD_DATE and LAST_MODIFIED (seconds since 1970;
// anything else is no date) are its dates, and a heading with
// PERSONAL_TOOLBAR_FOLDER="true" opens the toolbar folder. The text of a
// <DD> right after a link or a heading, up to the next item or link, is
// that link's or folder's description; a link's TAGS (comma-separated) are
// its tags and its SHORTCUTURL its keyword. What is read but not kept is
// noted as a loss (BookmarkSink::NoteLoss): a link's ICON or ICON_URI when
// the sink keeps no icons and an ICON that is no data: URL when it does,
// and a link skipped for its address.
//
//   - A name is all text between the heading's or link's start and end tags,
//     markup inside it dropped, trimmed of surrounding whitespace; line
//     breaks inside it stay.
//   - An address is the HREF value without surrounding whitespace and
//     without tabs and line breaks inside. A link whose address is missing
//     or has no scheme ("http:", "file:", "place:", ...) is skipped.
//   - A link's ICON attribute, a data: URL of its favicon, and ICON_URI,
//     the address the favicon came from, are read only when the sink keeps
//     icons (BookmarkSink::WantsLinkIcons) and passed with the link, the
//     image decoded; ICON_URI is never fetched.
//   - A heading with no <DL> after it holds the links that follow it up to
//     the next heading or </DL> (usually none: an empty folder); that </DL>
//     then also ends the list the heading stood in.
//   - A missing </A> ends the link at the next <A>, <DT>, <DD>, <HR>,
//     heading, <DL> or </DL>; a missing </Hn> ends the heading likewise.
//   - </DL> with no open list, and anything after the last one, close
//     nothing; folders still open at the end of the file end there.
//
// Files are decoded at the edge: valid UTF-8 (after an optional byte order
// mark) stays UTF-8, anything else is read as Windows-1252. In a file read
// as Windows-1252 a link name whose accented letters were written as UTF-8
// is repaired (RepairUtf8Text).
//
// Reading is one pass over the text, in time linear in its size, with no
// recursion, so nesting depth is not limited.

// A bookmark file's text, decoded and with its line ends made LF.
struct NetscapeText {
    std::string text;
    bool windows1252 = false; // the bytes were not UTF-8
};

// Decodes the bytes of a bookmark file.
NetscapeText DecodeNetscapeBytes(std::string bytes);

// Parses decoded text and pushes the root text, folders and links into
// sink in file order. Returns the page title (the text of <TITLE>).
std::string ParseNetscapeText(const NetscapeText& text, BookmarkSink& sink);

// The reason a file without the bookmark file's doctype that holds nothing
// gives.
inline constexpr const char* kNotNetscapeFormat = "not a Netscape-format file";

// Reads the file and pushes its folders and links into sink. Pushes
// nothing when the path is empty or the file cannot be read (the outcome
// says why); a file without the doctype near its start carries
// kNotNetscapeFormat as the reason for holding nothing.
ReadOutcome LoadNetscapeTree(const std::string& path, BookmarkSink& sink,
                             std::string* pageTitle = nullptr);

// Builds the bookmark tree of a bookmark file: the root shows the header,
// every folder is listed, names stay as they are, links keep their icons
// when the tree keeps icons. Leaves the tree empty when the file
// cannot be read; the outcome is LoadNetscapeTree's.
ReadOutcome BuildNetscapeTree(BookmarkTree& tree, const std::string& path,
                              ProgressSink* progress = nullptr);

// Counts the folders and links of a bookmark file before any selection,
// through the same parse that builds the tree, so the counts equal what a
// load then holds.
class cNNFastScanning {
public:
    // Raised once per folder, after the folder count grew, with its name.
    std::function<void(const std::string& name)> FolderScan;

    // Counts the file; a file that cannot be read counts zero folders and
    // links, and the outcome says why.
    ReadOutcome Scan(const std::string& sFileName);

    // The counts, or -1 before a count has completed.
    std::int32_t nTotalFolders() const { return completed_ ? folders_ : -1; }
    std::int32_t nTotalLinks() const { return completed_ ? links_ : -1; }
    // The text of the file's <TITLE>.
    const std::string& sPageTitle() const { return pageTitle_; }

private:
    std::int32_t folders_ = 0;
    std::int32_t links_ = 0;
    std::string pageTitle_;
    bool completed_ = false;
};

} // namespace tellavin
