#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tellavin {

// The names a folder's rows have taken, kept as row numbers in an
// open-addressing table: no allocation per row, as a node-based set makes
// one, and each slot keeps its name's hash, so that growing the table never
// reads a name again.
class RowNameSet {
public:
    // rows holds the rows whose numbers the set keeps; it may grow.
    explicit RowNameSet(const std::vector<EntryRecord>& rows) : rows_(&rows) {}

    bool Contains(std::string_view name) const;
    // Adds a row, whose name the set does not hold yet.
    void Insert(std::int32_t row);

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t row = -1; // -1: free
    };
    static std::uint32_t HashOf(std::string_view name);
    void Place(Slot slot);
    void Grow();

    const std::vector<EntryRecord>* rows_;
    std::vector<Slot> slots_; // a power of two of them, at most half taken
    std::size_t taken_ = 0;
};

} // namespace tellavin
