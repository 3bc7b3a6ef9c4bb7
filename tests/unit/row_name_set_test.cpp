#include "model/row_name_set.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tellavin {
namespace {

// Through every growth of the table, each name taken is found and no other
// name is; names that differ only a little, and the empty name, included.
TEST(RowNameSet, FindsEveryNameTakenThroughGrowthAndNoOther) {
    std::vector<std::string> names = {""};
    for (int i = 0; i < 3000; ++i) {
        names.push_back("News " + std::to_string(i));
    }
    std::vector<EntryRecord> rows;
    RowNameSet set(rows);
    for (std::size_t taken = 0; taken < names.size(); ++taken) {
        EntryRecord row;
        row.sName = names[taken];
        rows.push_back(row);
        set.Insert(static_cast<std::int32_t>(taken));
        if ((taken & (taken + 1)) == 0 || taken + 1 == names.size()) { // 1, 2, 4, ... and the end
            for (std::size_t i = 0; i < names.size(); ++i) {
                ASSERT_EQ(set.Contains(names[i]), i <= taken) << taken << " " << i;
            }
            ASSERT_FALSE(set.Contains("News")) << taken;
        }
    }
}

} // namespace
} // namespace tellavin
