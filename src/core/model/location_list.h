#pragma once

#include "model/conversion_path.h"

#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// The list behind a location drop-down of an export window: item 0 is the
// window's prompt, the other items are store files, each a bare path or a
// labelled one ("<" + profile name + "> " + path). Like an editable combo
// box it has a text and a selection: selecting an item shows its text, and
// setting the text selects the first item equal to it (-1 when none is).
// The windows bind their drop-downs to it; discovery and the saved options
// work on it without a toolkit.
class LocationList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& Items() const { return items_; }

    // Appends an item at the end.
    void AddItem(std::string text);
    // Inserts an item before position index (0 to Count()); false, changing
    // nothing, for a position outside that range.
    bool InsertItem(int index, std::string text);
    // Removes an item; the selection follows its item, and ends (-1) when
    // its item goes, keeping the text. False for an index out of range.
    bool RemoveItem(int index);
    void Clear();

    // The selected item's index, or -1 when the text is no item's.
    int ListIndex() const { return listIndex_; }
    // Selects an item and shows its text; -1 ends the selection and empties
    // the text. False, changing nothing, for an index out of range.
    bool SetListIndex(int index);

    const std::string& Text() const { return text_; }
    // Shows a text and selects the first item equal to it, if any.
    void SetText(std::string text);

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

// Finds the first item equal to text (exact, case-sensitive): true with its
// index, or false with index -1.
bool FindComboItem(const LocationList& list, std::string_view text, int& index);

// Appends the stores found, each labelled with its label when it has one,
// unless an equal item is there already (a location the window restored);
// when the list then holds its prompt and one file, that file is selected.
// Returns the number of items appended.
int AddFoundStores(LocationList& list, const std::vector<FoundStore>& found);

// The labelled item of a store file: "<" + name + "> " + path.
std::string LabelledLocation(std::string_view name, std::string_view path);

// The path of an item: for a labelled item (one that begins with "<" and
// holds a ">") the text after the ">" that ends the label and the blank
// after it, else the whole text. The label ends at its last "> " (its last
// ">" when no blank follows any), so a bare path, or the path of a labelled
// item, may itself contain ">" where the file system allows it.
std::string LocationPath(std::string_view item);

// The label of a labelled item (the text between its "<" and the ">" that
// ends the label), empty for a bare path.
std::string LocationLabel(std::string_view item);

} // namespace tellavin
