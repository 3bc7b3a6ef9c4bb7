#include "targets/menu_page.h"

#include "model/folder_walk.h"
#include "model/product_info.h"
#include "platform/atomic_file.h"
#include "targets/folder_links.h"
#include "targets/menu_scripts.h"
#include "targets/menu_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace tellavin {

namespace {

constexpr std::int32_t kItemWidth = 230; // width of every submenu and of the vertical root
constexpr std::int32_t kRowPitch = 21;   // height of one submenu row, borders shared
constexpr std::int32_t kNoBreak = 1000;  // entries per menu when breaking is off
constexpr const char* kBadBreakTitle = "Tellavin"; // the program's title, as the window shows it
constexpr const char* kBadBreakCount = "Please, insert a number in range [2-99]";

enum class ItemKind { Submenu, Link, Divider };

// One entry of a submenu as the page script declares it.
struct MenuRow {
    ItemKind kind;
    std::string text;
    std::string key;         // the folder number of a submenu, the address of a link
    std::string description; // the folder's or link's, shown as the item's tool tip
};

// Rounds 1.5 * width to the nearest integer, halves to even.
std::int32_t OneAndAHalf(std::int32_t width) {
    std::int32_t tripled = 3 * width;
    std::int32_t half = tripled / 2;
    return (tripled % 2 != 0 && half % 2 != 0) ? half + 1 : half;
}

bool IsJavascriptUrl(std::string_view url) {
    constexpr std::string_view kScheme = "javascript:";
    if (url.size() < kScheme.size()) {
        return false;
    }
    return std::equal(kScheme.begin(), kScheme.end(), url.begin(), [](char a, char b) {
        return a == ((b >= 'A' && b <= 'Z') ? static_cast<char>(b - 'A' + 'a') : b);
    });
}

class MenuPageComposer final : private FolderVisitor {
public:
    MenuPageComposer(BookmarkTree& tree, const WriteOptions& write, const MenuPageOptions& options,
                     ProgressSink& progress, const TextMeasure& measure)
        : tree_(tree), exportAll_(write.exportAll), options_(options), progress_(progress),
          measure_(measure) {
        for (std::size_t slot = 0; slot < colors_.size(); ++slot) {
            colors_[slot] = ColorToHtml(options.colors[slot]);
        }
        sourceOrder_ = OrderToWalk(tree, write.keepOrder) == WalkOrder::Source;
    }

    MenuPage Compose();

private:
    void WritePageLine(std::string_view text);
    void WriteScriptLines(std::string_view script);
    void WriteHead();
    void WriteStyleRule(std::int32_t rule, const std::string& color);
    void WriteItemStyles();
    void WriteItemStyle(std::string_view name, std::int32_t len, std::int32_t spacing,
                        std::string_view popInd, std::int32_t popPos, std::int32_t pad,
                        std::string_view outClass, std::string_view overClass,
                        std::string_view outBorder, std::string_view overBorder);
    void WriteMenuScript();
    void WriteRootItems();
    void WriteSubmenu(std::int32_t node);
    std::vector<MenuRow> CollectSortedRows(std::int32_t node);
    std::vector<MenuRow> CollectSourceRows(std::int32_t node);
    std::vector<LinkItem> CollectSubfolders(std::int32_t node) const;
    std::vector<std::int32_t> ChildFolders(std::int32_t node) const;
    void AppendWrittenFolders(std::int32_t node, std::vector<MenuRow>& rows) const;
    void WriteStartMenu(const std::string& key, bool isVert, std::int32_t offX, std::int32_t offY,
                        std::int32_t width, std::string_view style);
    // description, or else the full text when the item shows it cut,
    // becomes the item's tool tip.
    void WriteMenuItem(const std::string& text, const std::string& key, ItemKind kind,
                       std::int32_t length, std::string_view description = {});
    // The folder's description, as its item's tool tip.
    std::string FolderDescription(std::int32_t node) const {
        return std::string(tree_.FolderTable.at(node).sDescription);
    }
    // A page has no place for a link's keyword or tags.
    void NoteLinkLosses(const LinkItem& link);
    void WriteBody();

    bool IsWritten(std::int32_t node) const { return exportAll_ || tree_.Node(node).Checked; }
    bool IsRootItem(std::int32_t node) const { return rootItems_[node]; }
    // Deleted entries are not published, as the walk of the submenus skips them.
    bool IsTrash(std::int32_t node) const { return tree_.FolderTable.at(node).bTrash; }

    // The submenu walk enters each written folder in tree order.
    void Enter(std::int32_t folder, bool isStart) override {
        // The root's menu is the page's own, not one of the tree's folders.
        page_.result.nFoldersWritten += isStart ? 0 : 1;
        WriteSubmenu(folder);
    }
    void Leave(std::int32_t, bool) override {}

    BookmarkTree& tree_;
    bool exportAll_; // everything, or only the checked folders and links
    const MenuPageOptions& options_;
    ProgressSink& progress_;
    const TextMeasure& measure_;
    std::array<std::string, 8> colors_;
    std::vector<bool> rootItems_; // by node: written as an item of the root bar
    bool sourceOrder_ = false;    // submenus list the rows as the source holds them
    MenuPage page_;
};

void MenuPageComposer::WritePageLine(std::string_view text) {
    page_.text += text;
    page_.text += "\r\n";
}

void MenuPageComposer::WriteScriptLines(std::string_view script) {
    while (!script.empty()) {
        auto end = script.find('\n');
        auto line = script.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        WritePageLine(line);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    }
}

MenuPage MenuPageComposer::Compose() {
    if (options_.bBreakMenus && (options_.nMaxItems < 2 || options_.nMaxItems > 99)) {
        page_.result = ExportResult::Failed({kBadBreakTitle, {kBadBreakCount}});
        return std::move(page_);
    }
    WriteHead();
    WritePageLine("<script language=\"JavaScript1.2\"><!--");
    WriteScriptLines(PopupMenuEngineScript());
    WriteItemStyles();
    WriteMenuScript();
    if (options_.bShadows) {
        WriteScriptLines(DropShadowScript());
    }
    WriteScriptLines(PageEventScript());
    if (options_.bShowUrl) {
        WritePageLine("pMenu.onmouseover = function(mN, iN) { with (this)");
        WritePageLine("{");
        WritePageLine(" with (menu[mN][iN]) if (!type || type=='nw:') status = href;");
        WritePageLine("}};");
        WritePageLine("pMenu.onmouseout = function() { status = '' }");
    }
    WritePageLine("// End Hide -->");
    WritePageLine("</script>");
    WriteBody();
    return std::move(page_);
}

void MenuPageComposer::WriteHead() {
    WritePageLine(std::string("<!-- Page created by Tellavin ") + kProductVersion);
    WritePageLine(std::string(13, ' ') + options_.sCreatedDateTime);
    WritePageLine(std::string(10, ' ') + kProductHomePage + std::string(7, ' ') + "-->");
    WritePageLine("");
    WritePageLine("<html>");
    WritePageLine("<head>");
    WritePageLine("<meta charset=\"utf-8\">");
    WritePageLine("<title>" + EscapeHtmlText(options_.sPageTitle) + "</title>");
    WritePageLine("<style type=\"text/css\">");
    WritePageLine("<!--");
    for (std::int32_t rule = 1; rule <= 6; ++rule) {
        static constexpr std::size_t kSlot[] = {0, 0, 1, 0, 1, 4, 5};
        WriteStyleRule(rule, colors_[kSlot[rule]]);
    }
    WritePageLine("-->");
    WritePageLine("</style></head>");
    WritePageLine("<body marginwidth='0' marginheight='0' style='margin: 0' bgcolor='" +
                  colors_[6] + "'>");
    WritePageLine("");
}

void MenuPageComposer::WriteStyleRule(std::int32_t rule, const std::string& color) {
    constexpr const char* kText = "text-decoration: none; font: 12px Verdana, Arial, Helvetica; ";
    constexpr const char* kRootText =
        "text-decoration: none; text-align: center; font: 12px Verdana, Arial, Helvetica; ";
    switch (rule) {
    case 1:
        WritePageLine(std::string(".itemText { ") + kText + "color: " + color + " }");
        break;
    case 2:
        WritePageLine(std::string(".itemTextOver { ") + kText + "color: " + color + " }");
        break;
    case 3:
        WritePageLine(std::string(".itemTextRoot{ ") + kRootText + "color: " + color + " }");
        break;
    case 4:
        WritePageLine(std::string(".itemTextRootOver{ ") + kRootText + "color: " + color + " }");
        break;
    case 5:
        WritePageLine(".itemBorder { border: 1px solid " + color + " }");
        break;
    default:
        WritePageLine(".itemBorderOver { border: 1px solid " + color + " }");
    }
}

void MenuPageComposer::WriteItemStyles() {
    // Browsers that show a hover border get it; the others keep one border.
    WritePageLine("if (isNS4 || isIE){");
    for (bool hoverBorder : {true, false}) {
        if (!hoverBorder) {
            WritePageLine("} else {");
        }
        std::string_view over = hoverBorder ? "itemBorderOver" : "itemBorder";
        if (options_.bVertical) {
            WriteItemStyle("hBar", 22, 3, "&gt;", -15, 1, "itemText", "itemTextOver", "itemBorder",
                           over);
            WriteItemStyle("subM", 22, 0, "&gt;", -15, 1, "itemText", "itemTextOver", "itemBorder",
                           over);
        } else {
            WriteItemStyle("hBar", 80, 5, "", 0, 0, "itemTextRoot", "itemTextRootOver",
                           "itemBorder", over);
            WriteItemStyle("subM", 22, 0, "&gt;", -15, 2, "itemText", "itemTextOver", "itemBorder",
                           over);
        }
    }
    WritePageLine("} ");
}

void MenuPageComposer::WriteItemStyle(std::string_view name, std::int32_t len, std::int32_t spacing,
                                      std::string_view popInd, std::int32_t popPos,
                                      std::int32_t pad, std::string_view outClass,
                                      std::string_view overClass, std::string_view outBorder,
                                      std::string_view overBorder) {
    std::string line = "var ";
    line.append(name).append(" = new ItemStyle(").append(std::to_string(len)).append(", ");
    line.append(std::to_string(spacing)).append(", '").append(popInd).append("', ");
    line.append(std::to_string(popPos)).append(", ").append(std::to_string(pad)).append(", '");
    line.append(colors_[2]).append("', '").append(colors_[3]).append("', '");
    line.append(outClass).append("', '").append(overClass).append("', '");
    line.append(outBorder).append("', '").append(overBorder);
    line.append("', null, null, 'hand', 'default'); ");
    WritePageLine(line);
}

void MenuPageComposer::WriteMenuScript() {
    WritePageLine("var pMenu = new PopupMenu('pMenu');");
    WritePageLine("with (pMenu)");
    WritePageLine("{");
    WritePageLine("");
    WritePageLine(options_.bVertical ? "startMenu('root', true, 0, 16, 230, hBar);"
                                     : "startMenu('root', false, 10, 0, 17, hBar);");
    WriteRootItems();
    WalkOptions walk;
    walk.order = sourceOrder_ ? WalkOrder::Source : WalkOrder::Display;
    WalkExportedFolders(tree_, exportAll_, *this, page_.result, progress_, walk);
    WritePageLine("hideDelay=1500;");
    WritePageLine("};");
}

// The root bar holds the topmost written folders in tree order (the
// source's order when it is kept): the root itself when everything is
// exported.
void MenuPageComposer::WriteRootItems() {
    rootItems_.assign(static_cast<std::size_t>(tree_.NodeCount()), false);
    if (!tree_.HasRoot()) {
        return;
    }
    std::vector<std::int32_t> pending{0};
    while (!pending.empty()) {
        auto node = pending.back();
        pending.pop_back();
        if (IsTrash(node)) {
            continue;
        }
        if (!IsWritten(node)) {
            auto children = ChildFolders(node);
            pending.insert(pending.end(), children.rbegin(), children.rend());
            continue;
        }
        const auto& text = tree_.Node(node).Text;
        auto width = measure_.TextWidth(text);
        std::int32_t length = 0;
        if (width > 80 && !options_.bVertical) {
            length = std::min(kItemWidth, OneAndAHalf(width));
        }
        WriteMenuItem(text, std::to_string(node), ItemKind::Submenu, length,
                      tree_.FolderTable.at(node).sDescription);
        rootItems_[node] = true;
    }
}

void MenuPageComposer::WriteSubmenu(std::int32_t node) {
    const auto& folder = tree_.Node(node);
    WritePageLine("");
    // A submenu of the horizontal bar drops below its item; every other one
    // opens at the right of its parent item.
    bool dropsBelow = IsRootItem(node) && !options_.bVertical;
    auto key = std::to_string(node);
    WriteStartMenu(key, true, dropsBelow ? 0 : 227, dropsBelow ? 20 : 0, kItemWidth, "subM");

    auto rows = sourceOrder_ ? CollectSourceRows(folder.Tag) : CollectSortedRows(folder.Tag);
    const auto count = static_cast<std::int32_t>(rows.size());
    if (count == 0) {
        WriteMenuItem("(Empty)", "#", ItemKind::Link, 0);
        return;
    }
    const std::int32_t maxItems = options_.bBreakMenus ? options_.nMaxItems : kNoBreak;
    for (std::int32_t i = 0; i < count; ++i) {
        WriteMenuItem(rows[i].text, rows[i].key, rows[i].kind, 0, rows[i].description);
        // After every maxItems - 1 entries, when more than one entry is left,
        // the rest continues in a submenu raised so that its last row lies
        // level with the "more..." item. A divider takes a row like any
        // entry, so the rows stay level.
        std::int32_t written = i + 1;
        std::int32_t left = count - written;
        if (left > 1 && written % (maxItems - 1) == 0) {
            std::int32_t rows = left >= maxItems ? maxItems : left;
            // The "_" keeps the folder number and the entry index apart, so
            // no two continuations of the page share a name.
            auto more = "mo" + key + "_" + std::to_string(i);
            WriteMenuItem("more...", more, ItemKind::Submenu, 0);
            WriteStartMenu(more, true, 227, -kRowPitch * (rows - 1), kItemWidth, "subM");
        }
    }
}

// A node's submenu sorted: its sub-folders, then its exported links.
std::vector<MenuRow> MenuPageComposer::CollectSortedRows(std::int32_t node) {
    std::vector<MenuRow> rows;
    for (auto& folder : CollectSubfolders(node)) {
        rows.push_back({ItemKind::Submenu, std::move(folder.name), std::move(folder.url),
                        std::move(folder.description)});
    }
    auto links = GetFolderLinks(tree_, node, exportAll_);
    page_.result.nLinksWritten += static_cast<std::int32_t>(links.size());
    for (auto& link : links) {
        NoteLinkLosses(link);
        rows.push_back({ItemKind::Link, std::move(link.name), std::move(link.url),
                        std::move(link.description)});
    }
    return rows;
}

// A node's submenu in the source's order: each written sub-folder (or the
// written folders below an unwritten one), exported link and separator at
// its place.
std::vector<MenuRow> MenuPageComposer::CollectSourceRows(std::int32_t node) {
    std::vector<MenuRow> rows;
    for (const auto& row : tree_.Rows(node)) {
        if (row.IsFolder()) {
            AppendWrittenFolders(row.nFolder, rows);
        } else if (row.IsSeparator()) {
            rows.push_back({ItemKind::Divider, {}, {}, {}});
        } else if (exportAll_ || row.bChecked) {
            auto link = LinkItemOf(tree_, row);
            NoteLinkLosses(link);
            rows.push_back({ItemKind::Link, std::move(link.name), std::move(link.url),
                            std::move(link.description)});
            ++page_.result.nLinksWritten;
        }
    }
    return rows;
}

// Appends node as a submenu row when it is written, else the written
// folders nearest below it in the source's order; the trash adds nothing.
void MenuPageComposer::AppendWrittenFolders(std::int32_t node, std::vector<MenuRow>& rows) const {
    std::vector<std::int32_t> pending{node};
    while (!pending.empty()) {
        auto folder = pending.back();
        pending.pop_back();
        if (IsTrash(folder)) {
            continue;
        }
        if (IsWritten(folder)) {
            rows.push_back({ItemKind::Submenu, tree_.Node(folder).Text, std::to_string(folder),
                            FolderDescription(folder)});
        } else {
            auto children = ChildFolders(folder);
            pending.insert(pending.end(), children.rbegin(), children.rend());
        }
    }
}

// A node's sub-folders: in the source's order when it is kept and the
// node's rows are at hand, else in display order.
std::vector<std::int32_t> MenuPageComposer::ChildFolders(std::int32_t node) const {
    if (!sourceOrder_ || !tree_.FolderTable.at(node).bListed) {
        return tree_.Node(node).children;
    }
    std::vector<std::int32_t> folders;
    for (const auto& row : tree_.Rows(node)) {
        if (row.IsFolder()) {
            folders.push_back(row.nFolder);
        }
    }
    return folders;
}

// The folder rows of a node's submenu: its written children, and through an
// unwritten child the written folders nearest below it; sorted by name.
std::vector<LinkItem> MenuPageComposer::CollectSubfolders(std::int32_t node) const {
    std::vector<LinkItem> rows;
    const auto& children = tree_.Node(node).children;
    std::vector<std::int32_t> pending(children.rbegin(), children.rend());
    while (!pending.empty()) {
        auto child = pending.back();
        pending.pop_back();
        if (IsTrash(child)) {
            continue;
        }
        if (IsWritten(child)) {
            LinkItem row;
            row.name = tree_.Node(child).Text;
            row.url = std::to_string(child);
            row.description = FolderDescription(child);
            rows.push_back(std::move(row));
        } else {
            const auto& below = tree_.Node(child).children;
            pending.insert(pending.end(), below.rbegin(), below.rend());
        }
    }
    SortLinks(rows, static_cast<std::int32_t>(rows.size()) - 1);
    return rows;
}

void MenuPageComposer::WriteStartMenu(const std::string& key, bool isVert, std::int32_t offX,
                                      std::int32_t offY, std::int32_t width,
                                      std::string_view style) {
    std::string line = "startMenu('m" + key + "', " + (isVert ? "true" : "false") + ", ";
    line += std::to_string(offX) + ", " + std::to_string(offY) + ", " + std::to_string(width);
    line.append(", ").append(style).append(");");
    WritePageLine(line);
}

void MenuPageComposer::NoteLinkLosses(const LinkItem& link) {
    if (!link.keyword.empty()) {
        page_.result.losses.Note(LossKind::KeywordDropped, link.name);
    }
    if (!link.tags.empty()) {
        page_.result.losses.Note(LossKind::TagsDropped, link.name);
    }
}

void MenuPageComposer::WriteMenuItem(const std::string& text, const std::string& key, ItemKind kind,
                                     std::int32_t length, std::string_view description) {
    // Every item line counts towards the exported total, a divider's too.
    ++page_.result.nMenuItems;
    if (kind == ItemKind::Divider) {
        WritePageLine(" addItem('', '', 'div:');");
        return;
    }
    std::string type;
    std::string target;
    if (kind == ItemKind::Submenu) {
        type = "'sm:'";
        target = "m" + key;
    } else {
        type = IsJavascriptUrl(key) ? "'js:'" : options_.bOpenNew ? "'nw:'" : "''";
        target = key;
    }
    auto shown = FitTextToWidth(text, kItemWidth, measure_);
    bool cut = shown != text;
    if (cut) {
        page_.result.losses.Note(LossKind::TitleShownCut, text);
    }
    std::string_view tip = !description.empty() ? description : cut ? text : std::string_view();
    std::string line =
        " addItem('" + EscapeJsText(shown) + "', '" + EscapeJsText(target) + "', " + type;
    if (!tip.empty()) {
        line += ", '', " + std::to_string(length) + ", '" + EscapeJsText(tip) + "');";
    } else {
        line += length == 0 ? std::string(");") : ", '', " + std::to_string(length) + ");";
    }
    WritePageLine(line);
}

void MenuPageComposer::WriteBody() {
    if (options_.bVertical) {
        WritePageLine(
            "<table border='0' width='100%' height='100%' cellspacing='0' cellpadding='0'>");
        WritePageLine("<tr>");
        WritePageLine("<td width='230' height='100%' bgcolor='" + colors_[7] + "'>&nbsp;</td>");
        WritePageLine("<td valign='top' align='left'>");
    } else {
        WritePageLine("<table bgcolor='" + colors_[7] +
                      "' width='100%' border='0' cellpadding='0' cellspacing='0'>");
        WritePageLine("<tr><td height='17'><font size='1'>&nbsp;</font></td></tr></table>");
    }
    WritePageLine(std::string("<p><b>&nbsp;Cascading Menu </b> generated by  <a href=\"") +
                  kProductHomePage + "\">Tellavin&#153;</a>.");
    WritePageLine(std::string("<br>&nbsp;<font size=\"2\">(<b>DHTML Engine </b> provided by "
                              "<a href=\"") +
                  kProductHomePage + "\">Tellavin</a>).</font>");
    if (options_.bShowStatistics) {
        auto folders = exportAll_ ? options_.nSourceFolders : tree_.nSelectedFolders;
        auto links = exportAll_ ? options_.nSourceLinks : tree_.nSelectedLinks;
        WritePageLine("<p>&nbsp;This page has been created the " + options_.sCreatedDate +
                      " <br>&nbsp;(" + std::to_string(folders) + " folders and " +
                      std::to_string(links) + " links).");
    }
    WritePageLine("<script language='JavaScript1.2'>if (isNS4) {  document.write('<BR><p>&nbsp;"
                  "Please wait while Netscape is rendering the menu.<BR><font size=\"2\"> "
                  "&nbsp;(Note: this behavior is due to Netscape 4.x limitations handling "
                  "very large menu)</font>'); }</script>");
    if (options_.bVertical) {
        WritePageLine("</td>");
        WritePageLine("</tr>");
        WritePageLine("</table>");
    }
    WritePageLine("</body></html>");
}

} // namespace

MenuPage ComposeMenuPage(BookmarkTree& tree, const WriteOptions& write, const MenuPageOptions& look,
                         ProgressSink& progress, const TextMeasure& measure) {
    return MenuPageComposer(tree, write, look, progress, measure).Compose();
}

ExportResult WriteMenuPage(BookmarkTree& tree, const std::string& path, const WriteOptions& write,
                           const MenuPageOptions& look, ProgressSink& progress,
                           const TextMeasure& measure) {
    auto page = ComposeMenuPage(tree, write, look, progress, measure);
    if (!page.result.ok) {
        return page.result;
    }
    if (progress.Cancelled()) {
        return ExportResult::Cancelled();
    }
    if (auto written = WriteFileAtomically(path, page.text); !written.ok) {
        return ExportResult::Failed(
            {kMenuWriteErrorTitle, {kMenuWriteErrorText, written.message}, MessageIcon::Critical});
    }
    return page.result;
}

} // namespace tellavin
