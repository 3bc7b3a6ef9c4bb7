#include "model/row_name_set.h"

#include <functional>

namespace tellavin {

std::uint32_t RowNameSet::HashOf(std::string_view name) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
}

bool RowNameSet::Contains(std::string_view name) const {
    if (slots_.empty()) {
        return false;
    }
    const auto hash = HashOf(name);
    const auto mask = slots_.size() - 1;
    for (auto at = hash & mask; slots_[at].row >= 0; at = (at + 1) & mask) {
        const auto& slot = slots_[at];
        if (slot.hash == hash && (*rows_)[static_cast<std::size_t>(slot.row)].sName == name) {
            return true;
        }
    }
    return false;
}

void RowNameSet::Insert(std::int32_t row) {
    if (2 * (taken_ + 1) > slots_.size()) {
        Grow();
    }
    Place({HashOf((*rows_)[static_cast<std::size_t>(row)].sName), row});
    ++taken_;
}

void RowNameSet::Place(Slot slot) {
    const auto mask = slots_.size() - 1;
    auto at = slot.hash & mask;
    while (slots_[at].row >= 0) {
        at = (at + 1) & mask;
    }
    slots_[at] = slot;
}

void RowNameSet::Grow() {
    auto old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
    for (const auto& slot : old) {
        if (slot.row >= 0) {
            Place(slot);
        }
    }
}

} // namespace tellavin
