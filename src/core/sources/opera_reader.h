#pragma once

#include "model/bookmark_sink.h"
#include "model/bookmark_tree.h"
#include "model/outcome.h"
#include "model/progress.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tellavin {

// Reading an Opera hotlist (.adr).
//
// The grammar accepted:
//
//   file      = [BOM] { line }                 lines end at CR LF, LF or a CR
//                                              alone (old Mac files), and a
//                                              last line without one counts
//   line      = tag-line | end-line | blank | field-line | other
//   tag-line  = "#" word                       "#FOLDER", "#URL", or any other
//                                              tag ("#SEPERATOR", "#DELETED",
//                                              "#NOTE", ...)
//   end-line  = "-"                            the current folder ends
//   blank     = nothing but blanks             ends the field block
//   field-line= key "=" value                  inside an entry's field block
//
// Every line is read without its leading and trailing blanks (spaces, tabs,
// vertical tabs, form feeds), and
// tags are compared without regard to case, so "#folder   " is a folder.
// An entry is a tag line followed by its field block: the field lines up to
// the next blank line, tag line or end line. The fields of an entry are
// found wherever they stand in its block (Opera writes ID= before NAME=):
// the key before the "=" must be exactly NAME or URL, in any case, so
// "SHORT NAME=" and "DISPLAY URL=" are not taken.
// When a key repeats, the first one counts. A value is the text after the
// first "=" up to the end of the line (trailing blanks kept), decoded at
// the edge: UTF-8 when it is valid UTF-8 (the "encoding=utf8" option),
// otherwise Windows-1252; the bytes 0x02 0x02, which Opera writes for a line
// break inside a field, become a line feed, and NUL bytes are dropped. A name read as Windows-1252
// is passed through RepairUtf8Text, since older writers put the accented letters as UTF-8 among
// single bytes; in a UTF-8 name "Ã©" is meant as written.
//
// What the entries mean:
//   #FOLDER  a folder, named by NAME (empty without one), holding what
//            follows up to its end line. A folder that is never closed ends
//            with the file. An end line at the top level is ignored.
//   #URL     a link named by NAME, with the address of URL. Without a URL
//            field the address is "Undefined"; an empty URL makes it an
//            empty folder, like a link without address in any file source.
//   #SEPERATOR  a separator line between the items of its folder.
//   others   "#DELETED" (the partner ids of default bookmarks the user
//            deleted) and every other tag carry no bookmark: they and their
//            fields are skipped, and they open no folder, so no end line
//            belongs to them.
// Everything else (the "Opera Hotlist version 2.0" header, the "Options:"
// line, stray field lines) is ignored.
//
// Besides NAME and URL an entry's block may hold: CREATED, a link's or
// folder's creation in seconds since 1970; DESCRIPTION, a link's or
// folder's description; SHORT NAME, a link's keyword (decoded as values
// are); "ON PERSONALBAR=YES", which on the first
// folder that has it makes that folder the toolbar (a browser has one);
// "TRASH FOLDER=YES" marks the folder of deleted entries, which is read
// like any other and which no writer exports (WalkExportedFolders). A
// link's ICONFILE names its icon's image, read when the sink keeps icons
// (ReadIconFile, relative paths counting from iconFolder, the hotlist's
// folder); a non-empty one that is not read, or names no readable file, is
// noted as a loss.
void ParseOperaHotlist(std::string_view bytes, BookmarkSink& sink,
                       const std::string& iconFolder = {});

// The text is a hotlist: after an optional UTF-8 byte order mark it starts
// with "Opera Hotlist", as every hotlist's header line does.
bool IsHotlistText(std::string_view bytes);

// The address given to a link whose entry has no URL field.
inline constexpr const char* kUndefinedUrl = "Undefined";
// The root's text in the tree of a hotlist.
inline constexpr const char* kOperaRootText = "Opera Hotlist";

// Counts the folders and links of a hotlist with the parse that loads it,
// so the counts always equal what the tree then holds.
class cOperaFastScanning {
public:
    // Raised once per folder, after the folder was counted, with its name.
    std::function<void(const std::string& name)> FolderScan;

    // Counts the file; a file that cannot be read counts zero, and the
    // outcome says why.
    ReadOutcome Scan(const std::string& sFileName);

    // The counts, or -1 before a count has completed.
    std::int32_t nTotalFolders() const { return completed_ ? folders_ : -1; }
    std::int32_t nTotalLinks() const { return completed_ ? links_ : -1; }

private:
    std::int32_t folders_ = 0;
    std::int32_t links_ = 0;
    bool completed_ = false;
};

// The reason a file without a hotlist's header gives for holding nothing.
inline constexpr const char* kNotAHotlist = "not an Opera hotlist";

// Builds the bookmark tree of a hotlist: the root "Opera Hotlist", a folder
// node per folder, every folder listed. Leaves the tree empty when the path
// is empty or the file cannot be read, and says why; a file without the
// header carries kNotAHotlist as the reason for holding nothing. progress,
// when given, is moved to the number of folders read so far.
ReadOutcome LoadOperaTree(BookmarkTree& tree, const std::string& path,
                          ProgressSink* progress = nullptr);

} // namespace tellavin
