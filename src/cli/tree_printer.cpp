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
    TreePrinter(BookmarkTree& tree, std::ostream& out, bool everything)
        : tree_(tree), out_(out), everything_(everything) {}

    void Enter(std::int32_t folder, bool) override {
        std::string indent(2 * depth_, ' ');
        out_ << indent << VisibleText(tree_.Node(folder).Text) << "/\n";
        ++depth_;
        if (!tree_.FolderTable[folder].bListed) {
            out_ << indent << "  (cannot be read)\n";
            return;
        }
        for (const auto& link : GetFolderLinks(tree_, folder, everything_)) {
            out_ << indent << "  " << VisibleText(link.name) << "  <" << VisibleText(link.url)
                 << ">\n";
        }
    }
    void Leave(std::int32_t, bool) override { --depth_; }

    // The root's name, for a walk that does not write the root.
    void Heading() {
        out_ << VisibleText(tree_.Node(0).Text) << "/\n";
        depth_ = 1;
    }

private:
    BookmarkTree& tree_;
    std::ostream& out_;
    bool everything_;
    std::size_t depth_ = 0;
};

} // namespace

void PrintTree(BookmarkTree& tree, std::ostream& out, bool everything) {
    TreePrinter printer(tree, out, everything);
    if (!everything && tree.HasRoot() && !tree.Node(0).Checked) {
        printer.Heading();
    }
    ExportResult unused;
    NullProgress progress;
    WalkExportedFolders(tree, everything, printer, unused, progress, {.withTrash = everything});
}

} // namespace tellavin::cli
