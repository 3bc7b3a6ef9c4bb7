#include "model/file_tree_builder.h"
#include "selection/list_order.h"
#include "selection/selection_filter.h"
#include "selection/selection_model.h"
#include "sources/favorites_reader.h"
#include "support/temp_dir.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace tellavin {
namespace {

using test::TempDir;
using test::WriteFile;

// Root "Bookmarks": link r1, folder A (links a1, a2; folder A1 (link x)),
// empty folder B.
BookmarkTree SampleTree() {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    builder.AddLink("r1", "http://r1/");
    builder.BeginFolder("A");
    builder.AddLink("a1", "http://a1/");
    builder.AddLink("a2", "http://a2/");
    builder.BeginFolder("A1");
    builder.AddLink("x", "http://x/");
    builder.EndFolder();
    builder.EndFolder();
    builder.BeginFolder("B");
    builder.EndFolder();
    builder.Finish();
    return tree;
}

std::int32_t NodeNamed(const BookmarkTree& tree, const std::string& name) {
    for (std::int32_t i = 0; i < tree.NodeCount(); ++i) {
        if (tree.Node(i).Text == name) {
            return i;
        }
    }
    throw std::runtime_error("no folder " + name);
}

std::int32_t RowNamed(const BookmarkTree& tree, std::int32_t folder, const std::string& name) {
    auto rows = tree.Rows(folder);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].sName == name) {
            return static_cast<std::int32_t>(i);
        }
    }
    throw std::runtime_error("no row " + name);
}

// The counters, then each folder in index order: its name, "+" when
// checked, "*" when Bold, and its checked links by name.
std::string SelectionText(const BookmarkTree& tree) {
    std::ostringstream out;
    out << tree.nSelectedFolders << "/" << tree.nSelectedLinks;
    for (std::int32_t i = 0; i < tree.NodeCount(); ++i) {
        const auto& node = tree.Node(i);
        out << " " << node.Text << (node.Checked ? "+" : "") << (node.Bold ? "*" : "");
        if (!tree.FolderTable[static_cast<std::size_t>(i)].bListed) {
            continue;
        }
        for (const auto& row : tree.Rows(i)) {
            if (row.IsLink() && row.bChecked) {
                out << ":" << row.sName;
            }
        }
    }
    return out.str();
}

// What breaks the facts the selection keeps; empty when they all hold.
std::string SelectionFaults(const BookmarkTree& tree) {
    std::ostringstream faults;
    std::int32_t folders = 0;
    std::int32_t links = 0;
    std::vector<bool> holds(static_cast<std::size_t>(tree.NodeCount()), false);
    // Children have higher indices than their parents in every built tree,
    // so one backward pass carries "holds a checked link below" upwards.
    for (std::int32_t i = tree.NodeCount() - 1; i >= 0; --i) {
        const auto& node = tree.Node(i);
        const auto& record = tree.FolderTable[static_cast<std::size_t>(i)];
        std::int32_t checked = 0;
        if (record.bListed) {
            for (const auto& row : tree.Rows(i)) {
                checked += row.IsLink() && row.bChecked ? 1 : 0;
            }
        }
        links += checked;
        folders += i != 0 && node.Checked ? 1 : 0;
        if (checked != record.nCheckedLinks) {
            faults << node.Text << " counts " << record.nCheckedLinks << " of " << checked << "; ";
        }
        if (!node.Checked && checked > 0) {
            faults << node.Text << " unchecked with checked links; ";
        }
        std::int32_t boldChildren = 0;
        for (auto child : node.children) {
            boldChildren += tree.Node(child).Bold ? 1 : 0;
            holds[static_cast<std::size_t>(i)] =
                holds[static_cast<std::size_t>(i)] || holds[static_cast<std::size_t>(child)];
        }
        holds[static_cast<std::size_t>(i)] = holds[static_cast<std::size_t>(i)] || checked > 0;
        if (node.Bold != holds[static_cast<std::size_t>(i)] || node.boldChildren != boldChildren) {
            faults << node.Text << " Bold wrong; ";
        }
    }
    if (folders != tree.nSelectedFolders || links != tree.nSelectedLinks) {
        faults << "counters " << tree.nSelectedFolders << "/" << tree.nSelectedLinks << " of "
               << folders << "/" << links;
    }
    return faults.str();
}

struct CommandCase {
    const char* what;
    std::function<void(BookmarkTree&, SelectionModel&)> commands;
    const char* expected;
};

TEST(SelectionModel, CommandsKeepCountsChecksAndBoldTogether) {
    const auto link = [](const char* folder, const char* name, bool checked) {
        return [=](BookmarkTree& tree, SelectionModel& selection) {
            auto at = NodeNamed(tree, folder);
            selection.SetRowChecked(at, RowNamed(tree, at, name), checked);
        };
    };
    const auto folder = [](const char* name, bool checked) {
        return [=](BookmarkTree& tree, SelectionModel& selection) {
            selection.SetFolderChecked(NodeNamed(tree, name), checked);
        };
    };
    const auto both = [](auto first, auto second) {
        return [=](BookmarkTree& tree, SelectionModel& selection) {
            first(tree, selection);
            second(tree, selection);
        };
    };
    const CommandCase cases[] = {
        {"a link checks its folder and makes the ancestors Bold", link("A1", "x", true),
         "1/1 Bookmarks* A* A1+*:x B"},
        {"the last link unchecked unchecks its folder",
         both(link("A1", "x", true), link("A1", "x", false)), "0/0 Bookmarks A A1 B"},
        {"an ancestor stays Bold while a folder below holds a link",
         both(both(link("A", "a1", true), link("A1", "x", true)), link("A", "a1", false)),
         "1/1 Bookmarks* A* A1+*:x B"},
        {"a folder keeps its Bold for a Bold sub-folder",
         both(both(link("A", "a1", true), link("A1", "x", true)), link("A1", "x", false)),
         "1/1 Bookmarks* A+*:a1 A1 B"},
        {"a folder check checks all its links, not its sub-folders", folder("A", true),
         "1/2 Bookmarks* A+*:a1:a2 A1 B"},
        {"an empty folder counts but is not Bold", folder("B", true), "1/0 Bookmarks A A1 B+"},
        {"the root never counts as a folder", folder("Bookmarks", true),
         "0/1 Bookmarks+*:r1 A A1 B"},
        {"a sub-folder row checks that folder",
         [](BookmarkTree& tree, SelectionModel& selection) {
             selection.SetRowChecked(0, RowNamed(tree, 0, "A"), true);
         },
         "1/2 Bookmarks* A+*:a1:a2 A1 B"},
        {"a folder and all subs, then unchecking one of them",
         [](BookmarkTree& tree, SelectionModel& selection) {
             selection.SetFolderAndSubsChecked(NodeNamed(tree, "A"), true);
             selection.SetFolderChecked(NodeNamed(tree, "A1"), false);
         },
         "1/2 Bookmarks* A+*:a1:a2 A1 B"},
        {"all subs of an already checked root count each folder once",
         [](BookmarkTree&, SelectionModel& selection) {
             selection.SetFolderChecked(0, true);
             selection.SetFolderAndSubsChecked(0, true);
         },
         "3/4 Bookmarks+*:r1 A+*:a1:a2 A1+*:x B+"},
        {"check all folders, then uncheck all",
         [](BookmarkTree&, SelectionModel& selection) {
             selection.SetAllFoldersChecked(true);
             selection.SetAllFoldersChecked(false);
         },
         "0/0 Bookmarks A A1 B"},
        {"checking a checked folder again checks the links unchecked in it",
         [](BookmarkTree& tree, SelectionModel& selection) {
             auto a = NodeNamed(tree, "A");
             selection.SetFolderChecked(a, true);
             selection.SetRowChecked(a, RowNamed(tree, a, "a2"), false);
             selection.SetFolderChecked(a, true);
         },
         "1/2 Bookmarks* A+*:a1:a2 A1 B"},
        {"several rows at once, the ones already so skipped",
         [](BookmarkTree& tree, SelectionModel& selection) {
             auto a = NodeNamed(tree, "A");
             selection.SetRowChecked(a, RowNamed(tree, a, "a1"), true);
             std::vector<std::int32_t> rows{RowNamed(tree, a, "a1"), RowNamed(tree, a, "a2"),
                                            RowNamed(tree, a, "A1")};
             selection.SetRowsChecked(a, rows, true);
         },
         "2/3 Bookmarks* A+*:a1:a2 A1+*:x B"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        auto tree = SampleTree();
        SelectionModel selection(tree);
        row.commands(tree, selection);
        EXPECT_EQ(SelectionText(tree), row.expected);
        EXPECT_EQ(SelectionFaults(tree), "");
    }
}

struct FoundCase {
    const char* what;
    const char* checkedFirst; // a folder checked before, or nullptr
    const char* text;
    const char* expected;
};

TEST(SelectionModel, CheckAllFoundKeepsCountsChecksAndBoldTogether) {
    const FoundCase cases[] = {
        {"one link checks its folder", nullptr, "a2", "1/1 Bookmarks* A+*:a2 A1 B"},
        {"a link deep down makes every folder above Bold", nullptr, "x",
         "1/1 Bookmarks* A* A1+*:x B"},
        {"folders found by name come with all their links", nullptr, "a",
         "2/4 Bookmarks+*:r1 A+*:a1:a2 A1+*:x B"},
        {"an empty folder found by name", nullptr, "b", "1/1 Bookmarks+*:r1 A A1 B+"},
        {"checks already there stay", "A1", "a2", "2/2 Bookmarks* A+*:a2 A1+*:x B"},
        {"nothing found checks nothing", "B", "zz", "1/0 Bookmarks A A1 B+"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        auto tree = SampleTree();
        SelectionModel selection(tree);
        if (row.checkedFirst != nullptr) {
            selection.SetFolderChecked(NodeNamed(tree, row.checkedFirst), true);
        }
        NullProgress quiet;
        CheckFound(selection, SelectionFilter(tree, {}, quiet).Find(row.text));
        EXPECT_EQ(SelectionText(tree), row.expected);
        EXPECT_EQ(SelectionFaults(tree), "");
    }
}

TEST(SelectionModel, CheckAllFoundListsEveryFavoritesFolderAndKeepsTheFacts) {
    TempDir dir;
    WriteFile(dir.path() / "Favorites" / "Sub" / "Deeper" / "wiki.url",
              "[InternetShortcut]\r\nURL=http://w/\r\n");
    WriteFile(dir.path() / "Favorites" / "Sub" / "other.url",
              "[InternetShortcut]\r\nURL=http://wiki.example/\r\n");
    WriteFile(dir.path() / "Favorites" / "top.url", "[InternetShortcut]\r\nURL=http://t/\r\n");
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    SelectionModel selection(tree);
    NullProgress quiet;
    CheckFound(selection, SelectionFilter(tree, {}, quiet).Find("WIKI"));
    EXPECT_EQ(SelectionText(tree), "2/2 My Favorites* Sub+*:other Deeper+*:wiki");
    EXPECT_EQ(SelectionFaults(tree), "");
}

// Random trees, built in memory or as a Favorites folder on disk whose
// folders are listed only when a command needs their rows.
void AddRandomFolder(BookmarkSink& sink, std::mt19937& random, int depth, int& serial) {
    auto links = random() % 4;
    for (unsigned i = 0; i < links; ++i) {
        sink.AddLink("l" + std::to_string(serial++), "http://x/");
    }
    auto folders = depth < 4 ? random() % 4 : 0;
    for (unsigned i = 0; i < folders; ++i) {
        sink.BeginFolder("f" + std::to_string(serial++));
        AddRandomFolder(sink, random, depth + 1, serial);
        sink.EndFolder();
    }
}

void WriteRandomFavorites(const std::filesystem::path& folder, std::mt19937& random, int depth,
                          int& serial) {
    std::filesystem::create_directories(folder);
    auto links = random() % 4;
    for (unsigned i = 0; i < links; ++i) {
        WriteFile(folder / ("l" + std::to_string(serial++) + ".url"),
                  "[InternetShortcut]\r\nURL=http://x/\r\n");
    }
    auto folders = depth < 4 ? random() % 4 : 0;
    for (unsigned i = 0; i < folders; ++i) {
        WriteRandomFavorites(folder / ("f" + std::to_string(serial++)), random, depth + 1, serial);
    }
}

// One random command on a random folder or row; rows only of listed folders.
void RunRandomCommand(BookmarkTree& tree, SelectionModel& selection, std::mt19937& random) {
    auto folder = static_cast<std::int32_t>(random() % static_cast<unsigned>(tree.NodeCount()));
    bool checked = random() % 2 == 0;
    auto rows = tree.FolderTable[static_cast<std::size_t>(folder)].bListed
                    ? static_cast<std::int32_t>(tree.Rows(folder).size())
                    : 0;
    switch (random() % 6) {
    case 0:
        selection.SetFolderChecked(folder, checked);
        break;
    case 1:
        if (rows > 0) {
            selection.SetRowChecked(folder, static_cast<std::int32_t>(random() % rows), checked);
        }
        break;
    case 2:
        if (rows > 0) {
            std::vector<std::int32_t> chosen{static_cast<std::int32_t>(random() % rows),
                                             static_cast<std::int32_t>(random() % rows)};
            selection.SetRowsChecked(folder, chosen, checked);
        }
        break;
    case 3:
        selection.SetFolderAndSubsChecked(folder, checked);
        break;
    case 4:
        if (random() % 8 == 0) {
            selection.SetAllFoldersChecked(checked);
        }
        break;
    default:
        tree.EnsureListed(folder); // the user opens the folder
        break;
    }
}

TEST(SelectionModel, RandomCommandsKeepTheFactsOnBuiltAndLazilyListedTrees) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        TempDir dir;
        BookmarkTree tree;
        int serial = 0;
        if (seed % 2 == 0) {
            WriteRandomFavorites(dir.path() / "Favorites", random, 0, serial);
            ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
        } else {
            FileTreeBuilder builder(tree, StoreKind::Opera);
            builder.SetRootText("Opera Hotlist");
            AddRandomFolder(builder, random, 0, serial);
            builder.Finish();
        }
        SelectionModel selection(tree);
        for (int step = 0; step < 150; ++step) {
            RunRandomCommand(tree, selection, random);
            auto faults = SelectionFaults(tree);
            ASSERT_EQ(faults, "") << "after step " << step;
        }
    }
}

TEST(SelectionModel, ANeverOpenedFavoritesFolderIsListedBeforeItsLinksAreChecked) {
    TempDir dir;
    WriteFile(dir.path() / "Favorites" / "Sub" / "one.url",
              "[InternetShortcut]\r\nURL=http://1/\r\n");
    WriteFile(dir.path() / "Favorites" / "Sub" / "two.url",
              "[InternetShortcut]\r\nURL=http://2/\r\n");
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    SelectionModel selection(tree);
    selection.SetFolderChecked(NodeNamed(tree, "Sub"), true);
    EXPECT_EQ(SelectionText(tree), "1/2 My Favorites* Sub+*:one:two");
}

TEST(SelectionModel, ATreeAHundredThousandFoldersDeepIsSafe) {
    constexpr int kDepth = 100000;
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Deep");
    for (int i = 0; i < kDepth; ++i) {
        builder.BeginFolder("d");
    }
    builder.AddLink("bottom", "http://b/");
    for (int i = 0; i < kDepth; ++i) {
        builder.EndFolder();
    }
    builder.Finish();
    SelectionModel selection(tree);
    selection.SetRowChecked(kDepth, 0, true);
    EXPECT_TRUE(tree.Node(0).Bold);
    selection.SetFolderAndSubsChecked(0, false);
    EXPECT_FALSE(tree.Node(0).Bold);
    selection.SetFolderAndSubsChecked(0, true);
    EXPECT_EQ(tree.nSelectedFolders, kDepth);
    selection.SetAllFoldersChecked(false);
    EXPECT_EQ(SelectionFaults(tree), "");
}

// The rows of a Favorites folder with dates, in list order.
std::string ListText(const BookmarkTree& tree, const std::vector<std::int32_t>& order) {
    std::string text;
    for (auto index : order) {
        text += text.empty() ? "" : " ";
        text += tree.Rows(0)[static_cast<std::size_t>(index)].sName;
    }
    return text;
}

TEST(ListOrder, HeaderClicksFlipTheOrderAndFoldersKeepTheirSide) {
    TempDir dir;
    using namespace std::chrono;
    const auto day = [](int d) {
        return std::filesystem::file_time_type::clock::from_sys(
            time_point_cast<seconds>(sys_days{year{2020} / January / d} + hours{12}));
    };
    const std::pair<const char*, int> entries[] = {
        {"beta.url", 3}, {"Alpha.url", 5}, {"zeta", 1}, {"Delta", 4}, {"gamma.url", 2}};
    for (auto [name, date] : entries) {
        auto path = dir.path() / "Favorites" / name;
        if (std::string(name).ends_with(".url")) {
            WriteFile(path, std::string("[InternetShortcut]\r\nURL=http://") + name + "\r\n");
        } else {
            std::filesystem::create_directories(path);
        }
        std::filesystem::last_write_time(path, day(date));
    }
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    ASSERT_TRUE(tree.EnsureListed(0));

    ListSort sort;
    EXPECT_EQ(ListText(tree, sort.Order(tree, 0)), "Delta zeta Alpha beta gamma");
    const std::pair<std::int32_t, const char*> clicks[] = {
        {kNameColumn, "gamma beta Alpha zeta Delta 2"},
        {kUrlColumn, "Delta zeta Alpha beta gamma 1"},
        {kDateColumn, "Delta zeta Alpha beta gamma 2"},
        {kDateColumn, "gamma beta Alpha zeta Delta 1"},
    };
    for (auto [column, expected] : clicks) {
        SCOPED_TRACE(column);
        sort.ClickHeader(column);
        EXPECT_EQ(ListText(tree, sort.Order(tree, 0)) + " " + std::to_string(sort.MarkImage()),
                  expected);
    }
}

} // namespace
} // namespace tellavin
