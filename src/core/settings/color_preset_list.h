#pragma once

#include "platform/platform.h"
#include "settings/color_presets.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// The questions the preset actions ask the user. A window answers them with
// an input box and Yes/No message boxes; a test answers them from a script.
class PresetQuestions {
public:
    virtual ~PresetQuestions() = default;
    // An input box; the empty text when the user cancels.
    virtual std::string AskText(const std::string& title, const std::string& prompt) = 0;
    // A question box with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
};

// One item of the preset list and the table entry it shows.
struct PresetItem {
    std::string text;
    std::size_t entry = 0;
};

// The colour presets of a menu window, without any widgets: the list the
// window's "cboMenuColor" shows, the selected item, the eight swatch colours
// ("picColor(0)" to "picColor(7)") and whether "Delete Preset" is enabled.
// The window passes its events to the actions below and then shows the
// state again (items(), selected(), swatches(), deleteEnabled()).
//
// Item 0 is always "<Custom>", showing table entry 0: the colours the user
// edits by hand. Items keep the order in which they were added. Table entries
// are never removed while the list lives; a deleted preset's entry is simply
// no longer shown.
class PresetList {
public:
    explicit PresetList(const Platform& platform = SystemPlatform());

    // Rebuilds the table and the items from the presets file: "<Custom>"
    // with the default colours, then one item per section in file order
    // except "Version" and unnamed ones. A colour that is missing or out of
    // range takes the same slot of the preset read before (of "<Custom>" for
    // the first). Nothing is selected afterwards.
    void LoadPresetList();
    // Copies colours into table entry index, growing the table to reach it.
    void StorePresetColors(const std::array<double, 8>& colors, std::size_t index);
    // Paints the swatches with table entry index, each colour rounded to the
    // nearest whole number (halves to even).
    void ApplyPreset(std::size_t index);
    // Copies the swatches into entry 0.
    void KeepCustomColors();

    // The user chose list position p: its preset is applied, and "Delete
    // Preset" is enabled unless p is "<Custom>".
    void Choose(std::size_t position);
    // The colour dialog gave a swatch a colour. A different colour makes the
    // swatches the custom colours and selects "<Custom>"; true then.
    bool ChangeSwatch(std::size_t slot, std::uint32_t color);
    // "Save Preset...": asks for a name (trimmed of blanks) and stores the
    // swatches under it, asking first when a preset of that name exists
    // (names compare without regard to case, as the file's sections do). An
    // empty name, a name beginning with "<" or one the file cannot hold does
    // nothing, and so does a failed write. The saved
    // preset becomes a new item at the end, replacing the old one, selected.
    void SavePreset(PresetQuestions& questions);
    // "Delete Preset": asks, then removes the selected preset from the file
    // and the list and selects "<Custom>". Does nothing on "<Custom>".
    void DeletePreset(PresetQuestions& questions);
    // Selects the first item with exactly this text, else "<Custom>": how a
    // window restores the remembered choice.
    void SelectByText(std::string_view text);

    const std::vector<PresetItem>& items() const { return items_; }
    std::optional<std::size_t> selected() const { return selected_; }
    // The selected item's text, empty when nothing is selected.
    std::string text() const;
    const MenuColors& swatches() const { return swatches_; }
    bool deleteEnabled() const { return selected_ && *selected_ != 0; }
    const std::vector<PresetRecord>& table() const { return table_; }

private:
    std::optional<std::size_t> FindItem(std::string_view name) const;

    const Platform* platform_;
    std::vector<PresetRecord> table_;
    std::vector<PresetItem> items_;
    std::optional<std::size_t> selected_;
    MenuColors swatches_ = kCustomColors;
};

} // namespace tellavin
