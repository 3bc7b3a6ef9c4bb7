#include "support/canonical_tree.h"

#include "model/folder_walk.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tellavin::test {

namespace {

class CanonicalVisitor final : public FolderVisitor {
public:
    explicit CanonicalVisitor(BookmarkTree& tree) : tree_(tree) {}

    void Enter(std::int32_t folder, bool isStart) override {
        text += isStart ? "root[" : " " + tree_.Node(folder).Text + "[";
        std::vector<std::pair<std::string, std::string>> links;
        for (const auto& entry : tree_.Rows(folder)) {
            if (entry.IsLink()) {
                links.emplace_back(entry.sName, entry.sURL);
            }
        }
        std::sort(links.begin(), links.end());
        for (const auto& [name, url] : links) {
            text += " " + name + "=" + url;
        }
    }
    void Leave(std::int32_t, bool) override { text += " ]"; }

    std::string text;

private:
    BookmarkTree& tree_;
};

class CountingVisitor final : public FolderVisitor {
public:
    explicit CountingVisitor(BookmarkTree& tree) : tree_(tree) {}

    void Enter(std::int32_t folder, bool isStart) override {
        folders += isStart ? 0 : 1;
        for (const auto& entry : tree_.Rows(folder)) {
            links += entry.IsLink() ? 1 : 0;
        }
    }
    void Leave(std::int32_t, bool) override {}

    std::int32_t folders = 0;
    std::int32_t links = 0;

private:
    BookmarkTree& tree_;
};

} // namespace

std::string ExportedCountText(BookmarkTree& tree) {
    CountingVisitor visitor(tree);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet);
    return std::to_string(visitor.folders) + " folders, " + std::to_string(visitor.links) +
           " links\n";
}

std::string CanonicalTreeText(BookmarkTree& tree, bool withTrash) {
    CanonicalVisitor visitor(tree);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet, {.withTrash = withTrash});
    return visitor.text;
}

} // namespace tellavin::test
