#include "model/file_tree_builder.h"
#include "selection/selection_choice.h"
#include "selection/selection_filter.h"
#include "text/search_folding.h"

#include <gtest/gtest.h>
#include <vector>

namespace tellavin {
namespace {

// Root "Bookmarks": link Home; News (Le Monde; Tech (Wikipedia, Slashdot,
// Ars with "wiki" in its address); Sport (Wiki Sports)); Café & Cuisine
// (Crème brûlée, ΑΘΗΝΑ, Москва, Résumé); Wikis (Fandom).
BookmarkTree SampleTree() {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    builder.AddLink("Home", "http://home.example/");
    builder.BeginFolder("News");
    builder.AddLink("Le Monde", "https://www.lemonde.fr/");
    builder.BeginFolder("Tech");
    builder.AddLink("Wikipedia", "https://en.wikipedia.org/");
    builder.AddLink("Slashdot", "https://slashdot.org/");
    builder.AddLink("Ars", "https://arstechnica.com/wiki-page");
    builder.EndFolder();
    builder.BeginFolder("Sport");
    builder.AddLink("Wiki Sports", "https://sports.example/");
    builder.EndFolder();
    builder.EndFolder();
    builder.BeginFolder("Café & Cuisine");
    builder.AddLink("Crème brûlée", "http://recettes.example/creme");
    builder.AddLink("ΑΘΗΝΑ", "http://athens.example/");
    builder.AddLink("Москва", "http://moscow.example/");
    builder.AddLink("Résumé", "http://cv.example/");
    builder.EndFolder();
    builder.BeginFolder("Wikis");
    builder.AddLink("Fandom", "https://fandom.example/");
    builder.EndFolder();
    builder.Finish();
    return tree;
}

// The tree as the filter shows it: each shown folder in display order with
// "*" when found by its name and the links found in it, in row order.
std::string FoundText(const BookmarkTree& tree, const SearchResult& found) {
    if (!found.IsShown(0)) {
        return "";
    }
    std::string text;
    // Each entry is a folder to open, or -1 to close the folder opened last.
    std::vector<std::int32_t> pending{0};
    while (!pending.empty()) {
        const auto folder = pending.back();
        pending.pop_back();
        if (folder < 0) {
            text += " ]";
            continue;
        }
        text += (text.empty() ? "" : " ") + tree.Node(folder).Text;
        const auto* links = found.Of(folder);
        text += links != nullptr && links->byName ? "*[" : "[";
        for (auto row : links != nullptr ? links->rows : std::vector<std::int32_t>{}) {
            text += " " + std::string(tree.Rows(folder)[static_cast<std::size_t>(row)].sName);
        }
        pending.push_back(-1);
        const auto& children = tree.Node(folder).children;
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (found.IsShown(*child)) {
                pending.push_back(*child);
            }
        }
    }
    return text;
}

struct FilterCase {
    const char* what;
    const char* within; // a folder path, or nullptr for the whole tree
    const char* text;
    const char* expected;
};

TEST(SelectionFilter, FindsFoldersAndLinksByNameOrAddressIgnoringCaseAndAccents) {
    const FilterCase cases[] = {
        {"names, an address, and a folder by its name with all its links", nullptr, "wiki",
         "Bookmarks[ News[ Sport[ Wiki Sports ] Tech[ Wikipedia Ars ] ] Wikis*[ Fandom ] ]"},
        {"only inside a folder", "News", "WIKI",
         "Bookmarks[ News[ Sport[ Wiki Sports ] Tech[ Wikipedia Ars ] ] ]"},
        {"accents and case ignored", nullptr, "CREME BRULEE",
         "Bookmarks[ Café & Cuisine[ Crème brûlée ] ]"},
        {"accents in the text searched for", nullptr, "crême",
         "Bookmarks[ Café & Cuisine[ Crème brûlée ] ]"},
        {"combining accents find the precomposed letters", nullptr, "re\u0301sume\u0301",
         "Bookmarks[ Café & Cuisine[ Résumé ] ]"},
        {"a folder name with an accent", nullptr, "cafe",
         "Bookmarks[ Café & Cuisine*[ Crème brûlée ΑΘΗΝΑ Москва Résumé ] ]"},
        {"Greek capitals", nullptr, "αθήνα", "Bookmarks[ Café & Cuisine[ ΑΘΗΝΑ ] ]"},
        {"Cyrillic capitals", nullptr, "МОСКВА", "Bookmarks[ Café & Cuisine[ Москва ] ]"},
        {"an address only", nullptr, "lemonde.fr", "Bookmarks[ News[ Le Monde ] ]"},
        {"the root by its name", nullptr, "bookmarks", "Bookmarks*[ Home ]"},
        {"nothing runs from a name into its address", nullptr, "mondehttps", ""},
        {"nothing runs from one link into the next", nullptr, "org/slash", ""},
        {"nothing found", nullptr, "gopher", ""},
        {"nothing searched for", nullptr, "", ""},
    };
    auto tree = SampleTree();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        std::vector<std::int32_t> within;
        if (row.within != nullptr) {
            within.push_back(FolderAtPath(tree, row.within));
        }
        NullProgress quiet;
        SelectionFilter filter(tree, within, quiet);
        EXPECT_EQ(FoundText(tree, filter.Find(row.text)), row.expected);
    }
}

TEST(SelectionFilter, ATreeAHundredThousandFoldersDeepIsSafe) {
    constexpr int kDepth = 100000;
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Deep");
    for (int i = 0; i < kDepth; ++i) {
        builder.BeginFolder("d");
        builder.AddLink("x", "http://x/");
    }
    builder.AddLink("Bottom", "http://b/");
    for (int i = 0; i < kDepth; ++i) {
        builder.EndFolder();
    }
    builder.Finish();
    NullProgress quiet;
    std::string expected = "Deep[";
    for (int i = 0; i < kDepth; ++i) {
        expected += " d[";
    }
    expected += " Bottom";
    for (int i = 0; i <= kDepth; ++i) {
        expected += " ]";
    }
    EXPECT_EQ(FoundText(tree, SelectionFilter(tree, {}, quiet).Find("bottom")), expected);
}

TEST(SearchFolding, FoldsCaseAndAccentsOfTheCoveredLetters) {
    const std::pair<const char*, const char*> cases[] = {
        {"ÀÉÎÕÜ Çà ÿ", "aeiou ca y"},
        {"Straße Æsop Œuvre Þing Ĳssel", "strasse aesop oeuvre thing ijssel"},
        {"Łódź Šťastný Őrség Ștefan", "lodz stastny orseg stefan"},
        {"Ω Ά ΐ ς Ё Я Ђ", "ω α ι σ е я ђ"},
        {"tab\there\r\n", "tab here  "},
        {"HTTPS://WWW.EXAMPLE.COM/Path?Q=1\tEND", "https://www.example.com/path?q=1 end"},
        {"@AZ[`az{@AZ[`az{~", "@az[`az{@az[`az{~"},
        {"× ÷ 中文 \xF0\x9F\x98\x80 \xFF", "× ÷ 中文 \xF0\x9F\x98\x80 \xFF"},
    };
    for (auto [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Folded(text), expected);
    }
}

} // namespace
} // namespace tellavin
