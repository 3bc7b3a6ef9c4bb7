#pragma once

#include "model/user_message.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// Merging an export into an existing Netscape-format bookmark file: Read
// the file, then Merge the export's items into it once.
//
// The export's folders and links (the lines of a list, without the list's
// own tags) go into the file's root list, just before the tag that closes
// it, found by reading the file as HTML: a "</DL>" in a comment or a script
// is none, and "</dl >" is one. What the export adds to one of the file's
// own folders (a folder it joins) goes likewise into that folder's list,
// at the start of the line of its "</DL>". Everything else stays byte for
// byte, the part after the root list too. When the root list is never
// closed the export goes at the end of the file. The merged file is UTF-8: a file that
// was Windows-1252 is converted, and the charset its META tag declares
// becomes UTF-8 (a file without one gets the META line of a new file).
// Before the text is handed back it is read again: it must hold every link
// of the old file and of the export, each in its own folder (a joined
// folder's new links in the file's folder). That check
// adds up one number per link, made from its name, its address and its
// folder's path, so it costs time in proportion to the file however deep
// its folders nest, and next to no memory.
//
// Folders are numbered as the tree the file's reader builds numbers its
// nodes (the root 0), so a MergePlan made on that tree names them.
class BookmarkFileMerge {
public:
    // What the check keeps of a text's links: their count and the sum of
    // their numbers.
    struct LinkSum {
        std::uint64_t count = 0;
        std::uint64_t sum = 0;

        void Add(std::uint64_t number) {
            ++count;
            sum += number;
        }
        void Add(const LinkSum& other) {
            count += other.count;
            sum += other.sum;
        }
        bool operator==(const LinkSum&) const = default;
    };

    // Reads the file at destination. False, with the refusal, when it
    // cannot be read or holds no bookmark list (<DL>).
    bool Read(const std::string& destination, UserMessage& refusal);

    // A folder at the top level of the file is marked as the toolbar
    // (PERSONAL_TOOLBAR_FOLDER), so the export's must not be.
    bool HasToolbar() const { return hasToolbar_; }

    // Whether the export can add to the folder: the root always, another
    // folder when the file closes its list.
    bool CanAddTo(std::int32_t folder) const;

    // The merged text, or nothing with the refusal when it would not read
    // back whole. additions holds the lines to add per folder (CanAddTo),
    // the root's the export's top level. Call once, after Read succeeded.
    std::optional<std::string> Merge(std::map<std::int32_t, std::string> additions,
                                     UserMessage& refusal);

private:
    std::string destination_;
    std::string text_;    // the old file as UTF-8
    std::size_t cut_ = 0; // where the export goes in text_
    LinkSum links_;       // of the old file
    // Per folder: where its list closes in text_ (when it does) and the
    // number the check gives its links' folder.
    std::vector<std::optional<std::size_t>> ends_;
    std::vector<std::uint64_t> numbers_;
    bool hasToolbar_ = false;
};

} // namespace tellavin
