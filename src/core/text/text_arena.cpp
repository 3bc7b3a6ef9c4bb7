#include "text/text_arena.h"

#include <cstring>

namespace tellavin {

std::string_view TextArena::Keep(std::string_view text) {
    if (text.empty()) {
        return {};
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

void TextArena::Clear() {
    blocks_.clear();
    free_ = nullptr;
    left_ = 0;
    capacity_ = 0;
}

} // namespace tellavin
