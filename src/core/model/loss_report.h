#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tellavin {

// What a conversion could not carry into its target, by kind.
enum class LossKind : std::int32_t {
    NameChanged,        // a name changed so the file system takes it
    DuplicateNumbered,  // a name shared with a sibling got a number
    ToolbarRenamed,     // the toolbar folder became the Favorites Links folder
    ToolbarNotMarked,   // a toolbar folder written as an ordinary one (not at the top, or a second)
    SeparatorDropped,   // a separator the target has no place for
    OrderNotKept,       // a folder whose items the target shows in its own order
    CreatedDateDropped, // a link's creation date the target cannot hold
    ChangedDateDropped, // a link's change date the target cannot hold
    DescriptionDropped, // a description, tags, a keyword or an icon the target cannot hold
    TagsDropped,
    KeywordDropped,
    IconDropped,
    TrashSkipped,     // the hotlist's trash folder and each entry in it: deleted, not exported
    AddressUnusable,  // a link whose address no browser would take
    EntrySkipped,     // an entry of a kind the reader does not know, or where its store holds none
    LinkAlreadyThere, // a merge left out a link whose address its folder in the target holds
    FolderJoined,     // a merge added to the target's folder of the same name and place
    TitleShownCut,    // a menu page item that shows its title cut (the whole title is its tool tip)
    AliasCopied,      // an alias of a link, read as a copy of that link
};

inline constexpr std::int32_t kLossKinds = static_cast<std::int32_t>(LossKind::AliasCopied) + 1;

// The losses of one conversion: how many of each kind, with the first few
// examples (a name, a folder's path, or an old and a new name), each cut
// to kExampleChars characters.
class LossReport {
public:
    static constexpr std::size_t kMaxExamples = 3;
    static constexpr std::size_t kExampleChars = 60;

    // Counts one loss, keeping the example while there are few.
    void Note(LossKind kind, std::string example);
    // Adds another report's counts and examples to this one.
    void Add(const LossReport& other);

    std::int32_t Count(LossKind kind) const { return At(kind).count; }
    const std::vector<std::string>& Examples(LossKind kind) const { return At(kind).examples; }
    bool Empty() const;

    // One line per kind that occurred, in the order of LossKind:
    // "Separators dropped: 2 (Work, Work\News)".
    std::vector<std::string> Lines() const;

private:
    struct Entry {
        std::int32_t count = 0;
        std::vector<std::string> examples;
    };
    const Entry& At(LossKind kind) const { return entries_[static_cast<std::size_t>(kind)]; }

    std::array<Entry, kLossKinds> entries_{};
};

// The example of a name that changed: "old" -> "new".
std::string RenamedExample(const std::string& oldName, const std::string& newName);

} // namespace tellavin
