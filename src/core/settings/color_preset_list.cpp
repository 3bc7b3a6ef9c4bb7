#include "settings/color_preset_list.h"

#include "settings/setting_store.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"

#include <algorithm>
#include <cmath>

namespace tellavin {

namespace {

constexpr double kLargestColor = 16777215;

std::array<double, 8> AsTableColors(const MenuColors& colors) {
    std::array<double, 8> out{};
    std::copy(colors.begin(), colors.end(), out.begin());
    return out;
}

bool IsReservedName(std::string_view name) {
    return name.empty() || name.front() == '<';
}

} // namespace

PresetList::PresetList(const Platform& platform)
    : platform_(&platform), table_{PresetRecord{AsTableColors(kCustomColors), ""}},
      items_{PresetItem{std::string(kCustomPresetName), 0}} {}

void PresetList::LoadPresetList() {
    table_.assign(1, PresetRecord{AsTableColors(kCustomColors), ""});
    items_.assign(1, PresetItem{std::string(kCustomPresetName), 0});
    selected_.reset();
    auto working = table_[0].Colors;
    CSetting file(*platform_);
    file.Init(std::string(kPresetFileName));
    auto sections = file.GetSectionNames();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& name = sections[i];
        if (name.empty() || EqualsIgnoringCase(name, kVersionSection)) {
            continue;
        }
        for (std::size_t slot = 0; slot < working.size(); ++slot) {
            double value = PresetFileNumber(file.GetSettingStr(name, ColorKey(slot), "-1"));
            if (value > -1 && value <= kLargestColor) {
                working[slot] = value;
            }
        }
        StorePresetColors(working, i + 1);
        table_[i + 1].Name = name;
        items_.push_back(PresetItem{name, i + 1});
    }
}

void PresetList::StorePresetColors(const std::array<double, 8>& colors, std::size_t index) {
    if (index >= table_.size()) {
        table_.resize(index + 1);
    }
    table_[index].Colors = colors;
}

void PresetList::ApplyPreset(std::size_t index) {
    if (index >= table_.size()) {
        return;
    }
    for (std::size_t slot = 0; slot < swatches_.size(); ++slot) {
        double rounded = std::nearbyint(table_[index].Colors[slot]); // halves to even
        swatches_[slot] = static_cast<std::uint32_t>(std::clamp(rounded, 0.0, kLargestColor));
    }
}

void PresetList::KeepCustomColors() {
    table_[0].Colors = AsTableColors(swatches_);
}

void PresetList::Choose(std::size_t position) {
    if (position >= items_.size()) {
        return;
    }
    selected_ = position;
    ApplyPreset(items_[position].entry);
}

bool PresetList::ChangeSwatch(std::size_t slot, std::uint32_t color) {
    if (slot >= swatches_.size() || swatches_[slot] == color) {
        return false;
    }
    swatches_[slot] = color;
    KeepCustomColors();
    Choose(0);
    return true;
}

std::optional<std::size_t> PresetList::FindItem(std::string_view name) const {
    auto exact = std::find_if(items_.begin(), items_.end(),
                              [&](const PresetItem& item) { return item.text == name; });
    if (exact != items_.end()) {
        return static_cast<std::size_t>(exact - items_.begin());
    }
    // The file does not tell "ice" from "Ice": saving one overwrites the other.
    for (std::size_t i = 1; i < items_.size(); ++i) {
        if (EqualsIgnoringCase(items_[i].text, name)) {
            return i;
        }
    }
    return std::nullopt;
}

void PresetList::SavePreset(PresetQuestions& questions) {
    std::string name(TrimBlanks(questions.AskText(
        "Save Menu Color Preset", "Please, Insert the name of the Menu Color Preset:")));
    if (IsReservedName(name)) {
        return;
    }
    auto existing = FindItem(name);
    if (existing) {
        name = items_[*existing].text;
        if (!questions.AskYesNo("Confirm Overwriting",
                                "The name " + name +
                                    " already exists.\r\n"
                                    "Do You want to overwrite the existing Menu Color Preset?")) {
            return;
        }
    }
    if (!SavePresetColors(*platform_, name, swatches_)) {
        return;
    }
    std::size_t entry = table_.size();
    table_.push_back(PresetRecord{AsTableColors(swatches_), name});
    if (existing) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*existing));
    }
    items_.push_back(PresetItem{name, entry});
    Choose(items_.size() - 1);
}

void PresetList::DeletePreset(PresetQuestions& questions) {
    if (!deleteEnabled()) {
        return;
    }
    std::string name = items_[*selected_].text;
    if (!questions.AskYesNo(" Confirm Deleting",
                            "Really delete the current Menu Color Preset \"" + name + "\"?")) {
        return;
    }
    try {
        CSetting file(*platform_);
        file.Init(std::string(kPresetFileName));
        file.DeleteKey(name);
    } catch (const SettingError&) {
        // The item goes from the list all the same.
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*selected_));
    Choose(0);
}

void PresetList::SelectByText(std::string_view text) {
    auto found = std::find_if(items_.begin(), items_.end(),
                              [&](const PresetItem& item) { return item.text == text; });
    Choose(found == items_.end() ? 0 : static_cast<std::size_t>(found - items_.begin()));
}

std::string PresetList::text() const {
    return selected_ && *selected_ < items_.size() ? items_[*selected_].text : std::string();
}

} // namespace tellavin
