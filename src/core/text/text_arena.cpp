#include "text/text_arena.h"

#include <cstring>
#include <functional>

namespace tellavin {

std::string_view TextArena::Keep(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (IsAdopted(text)) {
        return text;
    }
    auto* at = Allocate(text.size());
    std::memcpy(at, text.data(), text.size());
    return {at, text.size()};
}

char* TextArena::Allocate(std::size_t size) {
    if (size > kBlockSize / 8) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        capacity_ += size;
        return blocks_.back().get();
    }
    if (size > left_) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        capacity_ += kBlockSize;
        free_ = blocks_.back().get();
        left_ = kBlockSize;
    }
    auto* at = free_;
    free_ += size;
    left_ -= size;
    return at;
}

std::string_view TextArena::Adopt(std::string text) {
    adopted_.push_back(std::make_unique<std::string>(std::move(text)));
    return *adopted_.back();
}

bool TextArena::IsAdopted(std::string_view text) const {
    const std::less<const char*> before;
    for (const auto& whole : adopted_) {
        const char* begin = whole->data();
        if (!before(text.data(), begin) &&
            !before(begin + whole->size(), text.data() + text.size())) {
            return true;
        }
    }
    return false;
}

void TextArena::Clear() {
    blocks_.clear();
    adopted_.clear();
    free_ = nullptr;
    left_ = 0;
    capacity_ = 0;
}

} // namespace tellavin
