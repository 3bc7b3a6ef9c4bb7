#include "cli/tree_printer.h"

#include "model/folder_walk.h"
#include "text/collation.h"
#include "text/visible_text.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace tellavin::cli {

namespace {

class TreePrinter final : public FolderVisitor {
public:
    TreePrinter(BookmarkTree& tree, std::ostream& out) : tree_(tree), out_(out) {}

    void Enter(std::int32_t folder, bool) override {
        std::string indent(2 * depth_, ' ');
        out_ << indent << VisibleText(tree_.Node(folder).Text) << "/\n";
        ++depth_;
        if (!tree_.EnsureListed(folder)) {
            out_ << indent << "  (cannot be read)\n";
            return;
        }
        const auto& record = tree_.FolderTable[folder];
        std::vector<const EntryRecord*> links;
        for (auto row = record.nFirstEntry; row <= record.nLastEntry; ++row) {
            if (tree_.EntryTable[row].IsLink()) {
                links.push_back(&tree_.EntryTable[row]);
            }
        }
        std::stable_sort(links.begin(), links.end(),
                         [](auto* a, auto* b) { return DisplayNameLess(a->sName, b->sName); });
        for (const auto* link : links) {
            out_ << indent << "  " << VisibleText(link->sName) << "  <" << VisibleText(link->sURL)
                 << ">\n";
        }
    }
    void Leave(std::int32_t, bool) override { --depth_; }

private:
    BookmarkTree& tree_;
    std::ostream& out_;
    std::size_t depth_ = 0;
};

} // namespace

void PrintTree(BookmarkTree& tree, std::ostream& out) {
    TreePrinter printer(tree, out);
    WalkExportedFolders(tree, true, printer);
}

} // namespace tellavin::cli
