#include "gui/windows/tree_images.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tellavin {
namespace {

// What a 16x16 request of an icon gives: "null" for an empty icon, else its
// size and whether any pixel of it is drawn.
std::string DescribeAt16(const QIcon& icon) {
    if (icon.isNull()) {
        return "null";
    }
    const QImage image = icon.pixmap(QSize(16, 16)).toImage();
    bool drawn = false;
    for (int y = 0; y < image.height() && !drawn; ++y) {
        for (int x = 0; x < image.width() && !drawn; ++x) {
            drawn = image.pixelColor(x, y).alpha() > 0;
        }
    }
    return std::to_string(image.width()) + "x" + std::to_string(image.height()) +
           (drawn ? " drawn" : " blank");
}

TEST(TreeImages, FixedImagesAndSortMarksAreDrawnAndDistinctOutsideNone) {
    struct Row {
        const char* name;
        QIcon icon;
        std::string expected;
    };
    const std::string drawn = "16x16 drawn";
    const std::vector<Row> rows{
        {"image 0", TreeImage(0), "null"},      {"image 1", TreeImage(1), drawn},
        {"image 2", TreeImage(2), drawn},       {"image 3", TreeImage(3), drawn},
        {"image 4", TreeImage(4), drawn},       {"image 5", TreeImage(5), drawn},
        {"image 6", TreeImage(6), drawn},       {"image 7", TreeImage(7), drawn},
        {"image 8", TreeImage(8), drawn},       {"image 9", TreeImage(9), drawn},
        {"image 10", TreeImage(10), "null"},    {"ascending", SortMark(true), drawn},
        {"descending", SortMark(false), drawn},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DescribeAt16(row.icon), row.expected) << row.name;
    }
    // A picture loaded twice or under the wrong name would show as two equal
    // images.
    for (std::size_t a = 0; a < rows.size(); ++a) {
        for (std::size_t b = a + 1; b < rows.size(); ++b) {
            if (rows[a].expected == drawn && rows[b].expected == drawn) {
                EXPECT_FALSE(rows[a].icon.pixmap(QSize(16, 16)).toImage() ==
                             rows[b].icon.pixmap(QSize(16, 16)).toImage())
                    << rows[a].name << " and " << rows[b].name;
            }
        }
    }
}

} // namespace
} // namespace tellavin
