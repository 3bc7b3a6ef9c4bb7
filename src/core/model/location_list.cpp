#include "model/location_list.h"

#include <algorithm>

namespace tellavin {

void LocationList::AddItem(std::string text) {
    items_.push_back(std::move(text));
}

bool LocationList::InsertItem(int index, std::string text) {
    if (index < 0 || index > Count()) {
        return false;
    }
    items_.insert(items_.begin() + index, std::move(text));
    if (listIndex_ >= index) {
        ++listIndex_;
    }
    return true;
}

bool LocationList::RemoveItem(int index) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    return true;
}

void LocationList::Clear() {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
}

bool LocationList::SetListIndex(int index) {
    if (index < -1 || index >= Count()) {
        return false;
    }
    listIndex_ = index;
    text_ = index == -1 ? std::string() : Item(index);
    return true;
}

void LocationList::SetText(std::string text) {
    text_ = std::move(text);
    FindComboItem(*this, text_, listIndex_);
}

bool FindComboItem(const LocationList& list, std::string_view text, int& index) {
    auto found = std::find(list.Items().begin(), list.Items().end(), text);
    index = found == list.Items().end() ? -1 : static_cast<int>(found - list.Items().begin());
    return index != -1;
}

std::string LabelledLocation(std::string_view name, std::string_view path) {
    std::string item = "<";
    item += name;
    item += "> ";
    item += path;
    return item;
}

namespace {
// Position of the ">" that ends the label of a labelled item: the last one
// followed by the blank, so that a ">" inside the path (which POSIX file
// names allow) does not cut it; the last ">" at all when none is.
std::string_view::size_type LabelEnd(std::string_view item) {
    if (!item.starts_with('<')) {
        return std::string_view::npos;
    }
    auto end = item.rfind("> ");
    return end == std::string_view::npos ? item.rfind('>') : end;
}
} // namespace

std::string LocationPath(std::string_view item) {
    auto end = LabelEnd(item);
    if (end == std::string_view::npos) {
        return std::string(item);
    }
    return std::string(item.substr(std::min(end + 2, item.size())));
}

std::string LocationLabel(std::string_view item) {
    auto end = LabelEnd(item);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(item.substr(1, end - 1));
}

int AddFoundStores(LocationList& list, const std::vector<FoundStore>& found) {
    int added = 0;
    for (const auto& store : found) {
        auto item = store.label.empty() ? store.location.path
                                        : LabelledLocation(store.label, store.location.path);
        int index = -1;
        if (!FindComboItem(list, item, index)) {
            list.AddItem(std::move(item));
            ++added;
        }
    }
    if (list.Count() == 2) {
        list.SetText(list.Item(1));
    }
    return added;
}

} // namespace tellavin
