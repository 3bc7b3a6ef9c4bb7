#include "support/tree_text.h"

#include "model/folder_walk.h"

namespace tellavin::test {

namespace {

class TextVisitor final : public FolderVisitor {
public:
    TextVisitor(BookmarkTree& tree, bool addresses) : tree_(tree), addresses_(addresses) {}

    void Enter(std::int32_t folder, bool isStart) override {
        if (!isStart) {
            text += " ";
        }
        text += tree_.Node(folder).Text + "[";
        for (const auto& entry : tree_.Rows(folder)) {
            if (entry.IsLink()) {
                text += " ";
                text += entry.sName;
                if (addresses_) {
                    text += "=";
                    text += entry.sURL;
                }
            }
        }
    }
    void Leave(std::int32_t, bool) override { text += " ]"; }

    std::string text;

private:
    BookmarkTree& tree_;
    bool addresses_;
};

} // namespace

std::string TreeText(BookmarkTree& tree, bool addresses) {
    TextVisitor visitor(tree, addresses);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet, {.withTrash = true});
    return visitor.text;
}

} // namespace tellavin::test
