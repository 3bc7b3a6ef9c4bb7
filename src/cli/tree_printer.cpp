#include "cli/tree_printer.h"

#include "model/folder_walk.h"
#include "targets/folder_links.h"
#include "text/visible_text.h"

#include <ostream>
#include <string>

namespace tellavin::cli {

namespace {

// Prints each folder with its links in the order every writer writes them.
class TreePrinter final : public FolderVisitor {
public:
    TreePrinter(BookmarkTree& tree, std::ostream& out) : tree_(tree), out_(out) {}

    void Enter(std::int32_t folder, bool) override {
        std::string indent(2 * depth_, ' ');
        out_ << indent << VisibleText(tree_.Node(folder).Text) << "/\n";
        ++depth_;
        if (!tree_.FolderTable[folder].bListed) {
            out_ << indent << "  (cannot be read)\n";
            return;
        }
        for (const auto& link : GetFolderLinks(tree_, folder, true)) {
            out_ << indent << "  " << VisibleText(link.name) << "  <" << VisibleText(link.url)
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
    ExportResult unused;
    NullProgress progress;
    WalkExportedFolders(tree, true, printer, unused, progress, {.withTrash = true});
}

} // namespace tellavin::cli
