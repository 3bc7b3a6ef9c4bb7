#include "model/file_tree_builder.h"
#include "sources/netscape_reader.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "text/text_arena.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tellavin {
namespace {

constexpr std::size_t kBlock = TextArena::kBlockSize;

// A text of the given size whose bytes depend on its place, so a text
// written over another's bytes shows.
std::string PatternText(std::size_t place, std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('!' + (place * 31 + i) % 90);
    }
    return text;
}

TEST(TextArena, KeptTextsSurviveBlockGrowthAndFillBlocksBeforeTakingNewOnes) {
    struct Case {
        const char* fault;
        std::vector<std::size_t> sizes;
        std::size_t capacity; // bytes of blocks the arena must hold afterwards
    };
    const Case cases[] = {
        {"empty texts take a block", {0, 0}, 0},
        {"a block filled exactly takes no second", std::vector<std::size_t>(8, kBlock / 8), kBlock},
        {"the byte after a full block lands in it",
         [] {
             std::vector<std::size_t> sizes(8, kBlock / 8);
             sizes.push_back(1);
             return sizes;
         }(),
         2 * kBlock},
        {"a text past the block end starts a new block", std::vector<std::size_t>(11, 100000),
         2 * kBlock},
        {"a long text gets a block of its size", {10, kBlock + 1, 10}, kBlock + kBlock + 1},
        {"a long text leaves the shared block open",
         {10, kBlock / 8 + 1, 10, kBlock / 8},
         kBlock + kBlock / 8 + 1},
        {"many short texts over several blocks", std::vector<std::size_t>(50000, 97), 5 * kBlock},
    };
    for (const auto& c : cases) {
        TextArena arena;
        std::vector<std::string> texts;
        std::vector<std::string_view> views;
        for (std::size_t place = 0; place < c.sizes.size(); ++place) {
            texts.push_back(PatternText(place, c.sizes[place]));
            views.push_back(arena.Keep(texts.back()));
        }
        EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), texts) << c.fault;
        EXPECT_EQ(arena.Capacity(), c.capacity) << c.fault;
    }
}

TEST(TextArena, PartsOfAnAdoptedTextAreKeptAsTheyAreAndAllElseIsCopied) {
    TextArena arena;
    auto whole = arena.Adopt("<A HREF=\"http://a/\">name</A>");
    const std::string outside = "http://a/";
    struct Case {
        const char* what;
        std::string_view text;
        bool inPlace; // the kept view is the text itself
    };
    const Case cases[] = {
        {"a part inside", whole.substr(9, 9), true},
        {"the whole text", whole, true},
        {"the last byte", whole.substr(whole.size() - 1), true},
        {"a part running past the end", std::string_view(whole.data() + whole.size() - 2, 3),
         false},
        {"a text elsewhere", outside, false},
    };
    for (const auto& c : cases) {
        auto kept = arena.Keep(c.text);
        EXPECT_EQ(std::make_pair(std::string(kept), kept.data() == c.text.data()),
                  std::make_pair(std::string(c.text), c.inPlace))
            << c.what;
    }
}

// Rows keep viewing their texts when the tree moves, by construction and by
// assignment over a tree that held rows of its own.
TEST(TextArena, TreeRowsReadTheSameAfterTheTreeMoves) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    for (int folder = 0; folder < 40; ++folder) {
        builder.BeginFolder("Folder " + std::to_string(folder));
        for (int link = 0; link < 500; ++link) {
            builder.AddLink("Link " + std::to_string(link),
                            "http://example.com/" + PatternText(link, 120));
        }
        builder.EndFolder();
    }
    builder.Finish();
    const auto before = test::TreeText(tree, true);

    BookmarkTree moved(std::move(tree));
    EXPECT_EQ(test::TreeText(moved, true), before);

    BookmarkTree other;
    FileTreeBuilder otherBuilder(other, StoreKind::Netscape);
    otherBuilder.AddLink("Old", "http://old/");
    otherBuilder.Finish();
    other = std::move(moved);
    EXPECT_EQ(test::TreeText(other, true), before);
}

// Addresses kept as parts of the adopted file text and addresses that
// needed decoding or cleaning read the same once the tree has moved.
TEST(TextArena, AddressesInTheFileTextSurviveTheTreeMoving) {
    test::TempDir dir;
    test::WriteFile(dir / "b.html", "<DL><p>\n"
                                    "<DT><A HREF=\"http://plain/\">Plain</A>\n"
                                    "<DT><A HREF=\"  http://spaced/ \">Spaced</A>\n"
                                    "<DT><A HREF=\"http://a/?x=1&amp;y=2\">Decoded</A>\n"
                                    "<DT><A HREF=\"http://bro\tken/\">Tab</A>\n"
                                    "</DL>\n");
    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, dir / "b.html"));
    BookmarkTree moved(std::move(tree));
    EXPECT_EQ(test::TreeText(moved, true), "[ Plain=http://plain/ Spaced=http://spaced/ "
                                           "Decoded=http://a/?x=1&y=2 Tab=http://broken/ ]");
}

} // namespace
} // namespace tellavin
