#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// Keeps many short texts in a few large blocks instead of one heap block
// each, or, for a part of a whole text it has adopted, the part as it is.
// A kept text never moves: its view stays valid until the arena is cleared
// or destroyed, however much is kept after it, and across moves of the
// arena (the blocks move, their bytes do not). Not copyable, since views
// into one arena must not be taken for texts of another.
class TextArena {
public:
    // Bytes of one block; a text longer than an eighth of it gets a block
    // of its own, so a long text wastes no room in the shared ones.
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    TextArena() = default;
    TextArena(TextArena&&) noexcept = default;
    TextArena& operator=(TextArena&&) noexcept = default;

    // Text that lives as long as the arena: itself when it lies inside an
    // adopted text, otherwise a copy. Empty texts take no room.
    std::string_view Keep(std::string_view text);
    // Takes a whole text (such as a file's) into the arena and returns it,
    // so that its parts can be kept without copies.
    std::string_view Adopt(std::string text);
    // Drops every kept text.
    void Clear();
    // Bytes held in blocks, used or not.
    std::size_t Capacity() const { return capacity_; }

private:
    char* Allocate(std::size_t size);
    bool IsAdopted(std::string_view text) const;

    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr; // the unused end of the current shared block
    std::size_t left_ = 0;
    std::size_t capacity_ = 0;
    // Behind pointers, so that a short text's bytes stay where they are
    // when the vector grows.
    std::vector<std::unique_ptr<std::string>> adopted_;
};

} // namespace tellavin
