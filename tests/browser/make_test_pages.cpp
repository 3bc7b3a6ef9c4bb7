// Writes the menu pages that the browser tests open, each from a tree built
// in memory, into the folder given as the only argument.
#include "model/file_tree_builder.h"
#include "targets/menu_page.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tellavin;

// Names measure nothing, so no item text is cut and a page shows every name
// whole.
class NoWidth final : public TextMeasure {
public:
    std::int32_t TextWidth(std::string_view) const override { return 0; }
};

MenuPageOptions BaseOptions(const std::string& title) {
    MenuPageOptions options;
    options.sPageTitle = title;
    options.sCreatedDateTime = "12/7/2026 8:37:55 AM";
    options.sCreatedDate = "12/7/2026";
    return options;
}

bool Write(const std::filesystem::path& folder, const std::string& name, BookmarkTree& tree,
           const MenuPageOptions& options, const TextMeasure& measure = BuiltinTextMeasure(),
           const WriteOptions& write = {}) {
    NullProgress progress;
    auto result = WriteMenuPage(tree, (folder / name).string(), write, options, progress, measure);
    if (!result.ok) {
        std::cerr << name << ": " << result.message.title << "\n";
    }
    return result.ok;
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// Bookmarks
//   Alpha: a1 a2 a3, Deep: Deeper: Deepest: bottom
//   Empty
//   Links and scripts: Target page, Run script, Encoded script
void BuildSampleTree(BookmarkTree& tree) {
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    builder.BeginFolder("Alpha");
    for (const char* name : {"a1", "a2", "a3"}) {
        builder.AddLink(name, std::string("target.html?") + name);
    }
    for (const char* name : {"Deep", "Deeper", "Deepest"}) {
        builder.BeginFolder(name);
    }
    builder.AddLink("bottom", "target.html?bottom");
    for (int i = 0; i < 4; ++i) {
        builder.EndFolder();
    }
    builder.BeginFolder("Empty");
    builder.EndFolder();
    builder.BeginFolder("Links and scripts");
    builder.AddLink("Target page", "target.html");
    builder.AddLink("Run script", "javascript:document.title='js ran'");
    builder.AddLink("Encoded script", "JavaScript:document.title%3D'pct%20ran'");
    builder.EndFolder();
    builder.Finish();
}

void CheckEverythingBelowTheRoot(BookmarkTree& tree) {
    for (std::int32_t node = 1; node < tree.NodeCount(); ++node) {
        tree.Node(node).Checked = true;
    }
    tree.nSelectedFolders = tree.NodeCount() - 1;
    tree.nSelectedLinks = 0;
    for (auto& row : tree.EntryTable) {
        row.bChecked = row.IsLink();
        tree.nSelectedLinks += row.bChecked ? 1 : 0;
    }
}

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            json += escaped;
        } else {
            json += static_cast<char>(c);
        }
    }
    return json + "\"";
}

// Names made of the pieces that break careless pages, from a fixed seed.
std::vector<std::string> FuzzedNames(std::size_t count) {
    const std::vector<std::string> pieces = {"'",
                                             "\"",
                                             "\\",
                                             "\\'",
                                             "<",
                                             ">",
                                             "</script>",
                                             "<script>",
                                             "<!--",
                                             "-->",
                                             "&amp;",
                                             "&",
                                             "\r\n",
                                             "\n",
                                             "\r",
                                             "\t",
                                             "\xE2\x80\xA8",
                                             "\xE2\x80\xA9",
                                             "${x}",
                                             "`",
                                             "*/",
                                             "/*",
                                             "//",
                                             "alert(1)",
                                             "\xC3\xA9",
                                             "\xE2\x82\xAC",
                                             "\xF0\x9F\x98\x80",
                                             "\xE4\xB8\xAD",
                                             " ",
                                             "a",
                                             "Z",
                                             "0",
                                             ")",
                                             "(",
                                             ";",
                                             "+",
                                             "%41"};
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 8);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = "n" + std::to_string(i) + " ";
        for (int k = length(random); k > 0; --k) {
            name += pieces[piece(random)];
        }
        names.push_back(name);
    }
    return names;
}

bool WriteFuzzPage(const std::filesystem::path& folder) {
    auto names = FuzzedNames(240);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Fuzz");
    std::string folders;
    std::string links;
    for (std::size_t i = 0; i < names.size(); i += 24) {
        builder.BeginFolder(names[i]);
        folders += (folders.empty() ? "" : ",") + JsonString(names[i]);
        for (std::size_t k = i + 1; k < i + 24; ++k) {
            auto url = "http://example.invalid/" + names[k];
            builder.AddLink(names[k], url);
            links += (links.empty() ? "" : ",") + std::string("[") + JsonString(names[k]) + "," +
                     JsonString(url) + "]";
        }
        builder.EndFolder();
    }
    builder.Finish();
    auto options = BaseOptions("Fuzz");
    options.bOpenNew = false;
    return Write(folder, "fuzz.html", tree, options, NoWidth()) &&
           WriteText(folder / "fuzz.json",
                     "{\"folders\":[" + folders + "],\"links\":[" + links + "]}\n");
}

bool WriteHostilePage(const std::filesystem::path& folder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Hostile");
    builder.BeginFolder("</script><script>alert(1)</script>");
    builder.AddLink("<img src=x onerror=alert(2)>", "http://example.invalid/');alert(3);('");
    builder.AddLink("'); alert(4); ('", "#");
    builder.AddLink("\\'; alert(5); //", "target.html");
    builder.AddLink("<!--<script>", "target.html?comment");
    builder.EndFolder();
    builder.Finish();
    auto options = BaseOptions("</title><script>alert(6)</script>");
    options.bOpenNew = false;
    options.bShowStatistics = true;
    return Write(folder, "hostile.html", tree, options, NoWidth());
}

bool WriteBigPage(const std::filesystem::path& folder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Ten thousand links");
    for (int f = 0; f < 100; ++f) {
        builder.BeginFolder("Folder " + std::to_string(1000 + f));
        for (int l = 0; l < 100; ++l) {
            builder.AddLink("Link " + std::to_string(f) + "-" + std::to_string(1000 + l),
                            "target.html?" + std::to_string(f) + "-" + std::to_string(l));
        }
        builder.EndFolder();
    }
    builder.Finish();
    return Write(folder, "big.html", tree, BaseOptions("Ten thousand links"));
}

// One folder of 995 links and no breaks: its submenu is far taller than
// any window.
bool WriteTallPage(const std::filesystem::path& folder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Tall");
    builder.BeginFolder("Long folder");
    for (int l = 0; l < 995; ++l) {
        builder.AddLink("Link " + std::to_string(1000 + l), "target.html?" + std::to_string(l));
    }
    builder.EndFolder();
    builder.Finish();
    auto options = BaseOptions("Tall");
    options.bBreakMenus = false;
    return Write(folder, "tall.html", tree, options);
}

// The source's order kept: the root's submenu holds Before, a separator,
// the folder Sub, a separator and After.
bool WriteDividersPage(const std::filesystem::path& folder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Dividers");
    builder.AddLink("Before", "target.html?before");
    builder.AddSeparator();
    builder.BeginFolder("Sub");
    builder.AddLink("inside", "target.html?inside");
    builder.EndFolder();
    builder.AddSeparator();
    builder.AddLink("After", "target.html?after");
    builder.Finish();
    auto options = BaseOptions("Dividers");
    options.bOpenNew = false;
    WriteOptions inSourceOrder;
    inSourceOrder.keepOrder = true;
    return Write(folder, "dividers.html", tree, options, BuiltinTextMeasure(), inSourceOrder);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " FOLDER\n";
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok =
        WriteText(folder / "target.html",
                  "<html><head><title>Target</title></head><body>Target reached</body></html>\n");

    BookmarkTree sample;
    BuildSampleTree(sample);
    CheckEverythingBelowTheRoot(sample);
    auto horizontal = BaseOptions("Horizontal menu");
    horizontal.bOpenNew = false;
    horizontal.bShowStatistics = true;
    WriteOptions checkedOnly;
    checkedOnly.exportAll = false;
    ok = Write(folder, "horizontal.html", sample, horizontal, BuiltinTextMeasure(), checkedOnly) &&
         ok;

    auto vertical = BaseOptions("Vertical menu");
    vertical.bVertical = true;
    ok = Write(folder, "vertical.html", sample, vertical) && ok;

    auto plain = BaseOptions("No shadows, no status");
    plain.bShadows = false;
    plain.bShowUrl = false;
    plain.bOpenNew = false;
    ok = Write(folder, "plain.html", sample, plain) && ok;

    BookmarkTree many;
    FileTreeBuilder builder(many, StoreKind::Netscape);
    builder.SetRootText("Breaks");
    builder.BeginFolder("Many");
    for (int i = 0; i < 7; ++i) {
        builder.AddLink("e" + std::to_string(i), "target.html?e" + std::to_string(i));
    }
    builder.EndFolder();
    builder.Finish();
    auto breaks = BaseOptions("Breaks");
    breaks.bVertical = true;
    breaks.nMaxItems = 3;
    ok = Write(folder, "breaks.html", many, breaks) && ok;

    ok = WriteHostilePage(folder) && ok;
    ok = WriteFuzzPage(folder) && ok;
    ok = WriteBigPage(folder) && ok;
    ok = WriteTallPage(folder) && ok;
    ok = WriteDividersPage(folder) && ok;
    return ok ? 0 : 1;
}
