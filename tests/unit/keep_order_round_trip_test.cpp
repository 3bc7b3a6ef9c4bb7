// Conversions with the source's order kept, through every pair of stores
// and back: what both stores hold comes back as it was, and everything
// else is named in the loss report, exactly.
#include "conversion/conversion.h"
#include "sources/source_loader.h"
#include "support/event_tree.h"
#include "support/fake_platform.h"
#include "support/message_text.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A toolbar folder with separators between dated links, a separator at
// the top level, a name no file system takes, and an order no sort gives.
BookmarkTree SourceTree() {
    return test::TreeFromEvents([](BookmarkSink& s) {
        s.BeginFolder("Bookmarks Toolbar");
        s.MarkToolbarFolder();
        s.AddLink("Zeta", "http://z/");
        s.SetLinkDates(1000, 2000);
        s.AddSeparator();
        s.AddLink("Alpha", "http://a/");
        s.SetLinkDates(1100, 2100);
        s.EndFolder();
        s.AddSeparator();
        s.AddLink("Ünïcödé 中文", "http://u/");
        s.SetLinkDates(0, 3000);
        s.BeginFolder("Work");
        s.AddLink("Q&A: x/y", "http://q/");
        s.SetLinkDates(1200, 2200);
        s.AddSeparator();
        s.EndFolder();
        s.AddLink("a", "http://a2/");
        s.SetLinkDates(0, 2300);
    });
}

struct PairCase {
    const char* name;
    StoreKind first;         // the store the trip starts from and comes back to
    StoreKind second;        // the store it passes through
    std::string start;       // the first store as made from SourceTree
    std::string back;        // the first store after the trip
    std::string losses;      // both conversions' loss reports, one line each
    bool withChanged = true; // change dates compared (see OrderedTreeText)
};

class KeepOrderRoundTrip : public ::testing::TestWithParam<PairCase> {
protected:
    KeepOrderRoundTrip() {
        fs::create_directories(dir_.path() / "bin");
        platform_.executablePath = dir_ / "bin/tellavin";
    }

    StoreLocation Store(StoreKind kind, const std::string& name) {
        auto extension = kind == StoreKind::Opera      ? ".adr"
                         : kind == StoreKind::Netscape ? ".html"
                                                       : "";
        StoreLocation store{kind, dir_ / (name + extension)};
        if (kind == StoreKind::Favorites) {
            fs::create_directories(store.path);
        }
        return store;
    }

    // The first store, written from the source tree by its writer.
    StoreLocation MakeFirst(StoreKind kind) {
        auto tree = SourceTree();
        auto store = Store(kind, "first");
        NullProgress progress;
        ExportResult result;
        if (kind == StoreKind::Netscape) {
            WriteOptions options;
            options.keepOrder = true;
            result = PrintBookmarkFile(tree, store.path, options, progress);
        } else if (kind == StoreKind::Opera) {
            WriteOptions options;
            options.keepOrder = true;
            result = PrintHotlistFile(tree, store.path, options, progress);
        } else {
            result = ExportToFavorites(tree, store.path, {}, progress);
        }
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message);
        return store;
    }

    // Converts with the order kept; returns the loss report's lines.
    std::string Convert(const StoreLocation& from, const StoreLocation& to) {
        ConversionRequest request;
        request.source = from;
        request.target = to;
        request.options.keepOrder = true;
        NullProgress progress;
        auto result = RunConversion(request, platform_, progress);
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message) << result.sFirstFailure;
        std::string lines;
        for (const auto& line : result.losses.Lines()) {
            lines += line + "\n";
        }
        return lines;
    }

    std::string Text(const StoreLocation& store, bool withChanged) {
        BookmarkTree tree;
        if (!LoadSourceTree(store, tree)) {
            return "(unreadable)";
        }
        return test::OrderedTreeText(tree, withChanged);
    }

    TempDir dir_;
    test::FakePlatform platform_;
};

TEST_P(KeepOrderRoundTrip, ComesBackWithWhatBothStoresHoldAndReportsTheRest) {
    const auto& c = GetParam();
    auto first = MakeFirst(c.first);
    ASSERT_EQ(Text(first, true), c.start);
    auto second = Store(c.second, "second");
    auto losses = Convert(first, second);
    auto back = Store(c.first, "back");
    losses += Convert(second, back);
    EXPECT_EQ(Text(back, c.withChanged), c.back);
    EXPECT_EQ(losses, c.losses);
}

// The source as each store holds it.
const std::string kAsNetscape =
    "root[ Bookmarks Toolbar*[ Zeta=http://z/{1000/2000} --- Alpha=http://a/{1100/2100} ] --- "
    "Ünïcödé 中文=http://u/{0/3000} Work[ Q&A: x/y=http://q/{1200/2200} --- ] "
    "a=http://a2/{0/2300} ]";
const std::string kAsHotlist =
    "root[ Bookmarks Toolbar*[ Zeta=http://z/{1000/0} --- Alpha=http://a/{1100/0} ] --- "
    "Ünïcödé 中文=http://u/ Work[ Q&A: x/y=http://q/{1200/0} --- ] a=http://a2/ ]";
// A Favorites folder lists its items by name; its toolbar is Links, and
// a link's change date is its file's time.
const std::string kAsFavorites =
    "root[ a=http://a2/{0/2300} Links*[ Alpha=http://a/{0/2100} Zeta=http://z/{0/2000} ] "
    "Ünïcödé 中文=http://u/{0/3000} Work[ Q&A- x-y=http://q/{0/2200} ] ]";
// A bookmark file written from a Favorites folder: folders first, then the
// links, each by name.
const std::string kFromFavorites =
    "root[ Links*[ Alpha=http://a/{0/2100} Zeta=http://z/{0/2000} ] Work[ Q&A- "
    "x-y=http://q/{0/2200} ] a=http://a2/{0/2300} Ünïcödé 中文=http://u/{0/3000} ]";

// What a Favorites folder cannot hold of the source.
const std::string kIntoFavorites =
    "Names changed for the file system: 1 (\"Q&A: x/y\" -> \"Q&A- x-y\")\n"
    "Toolbar folder renamed: 1 (\"Bookmarks Toolbar\" -> \"Links\")\n"
    "Separators dropped: 3 (top level, Bookmarks Toolbar, Work)\n"
    "Folders not kept in the source's order: 2 (top level, Bookmarks Toolbar)\n"
    "Creation dates dropped: 3 (Alpha, Zeta, Q&A: x/y)\n";

const std::vector<PairCase>& Cases() {
    static const std::vector<PairCase> cases = {
        {"NetscapeThroughHotlist", StoreKind::Netscape, StoreKind::Opera, kAsNetscape, kAsHotlist,
         "Change dates dropped: 5 (Zeta, Alpha, Ünïcödé 中文, ...)\n"},
        {"HotlistThroughNetscape", StoreKind::Opera, StoreKind::Netscape, kAsHotlist, kAsHotlist,
         ""},
        {"NetscapeThroughFavorites", StoreKind::Netscape, StoreKind::Favorites, kAsNetscape,
         kFromFavorites, kIntoFavorites},
        {"FavoritesThroughNetscape", StoreKind::Favorites, StoreKind::Netscape, kAsFavorites,
         kAsFavorites, ""},
        {"HotlistThroughFavorites", StoreKind::Opera, StoreKind::Favorites, kAsHotlist,
         "root[ Links*[ Alpha=http://a/ Zeta=http://z/ ] Work[ Q&A- x-y=http://q/ ] "
         "a=http://a2/ Ünïcödé 中文=http://u/ ]",
         kIntoFavorites + "Change dates dropped: 5 (Alpha, Zeta, Q&A- x-y, ...)\n"},
        {"FavoritesThroughHotlist", StoreKind::Favorites, StoreKind::Opera, kAsFavorites,
         "root[ a=http://a2/ Links*[ Alpha=http://a/ Zeta=http://z/ ] Ünïcödé 中文=http://u/ "
         "Work[ Q&A- x-y=http://q/ ] ]",
         "Change dates dropped: 5 (Alpha, Zeta, Q&A- x-y, ...)\n", false},
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Pairs, KeepOrderRoundTrip, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tellavin
