#pragma once

#include "model/bookmark_tree.h"
#include "model/folder_walk.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tellavin::fuzz {

// The tree as one text that two trees share when they hold the same
// folders and links: folders in display order, each folder's links sorted
// (writers sort them), the root's own text left out (each file format
// names its root), CR LF, CR and LF alike (writers turn every line break
// inside a name into the one their format keeps), and a double quote in an
// address the same as %22 (which a writer may put in its place).
inline std::string CanonicalTree(BookmarkTree& tree) {
    class Visitor final : public FolderVisitor {
    public:
        explicit Visitor(BookmarkTree& tree) : tree_(tree) {}
        void Enter(std::int32_t folder, bool isStart) override {
            text += isStart ? "[" : "\x1F" + Lines(tree_.Node(folder).Text) + "[";
            tree_.EnsureListed(folder);
            const auto& record = tree_.FolderTable[folder];
            std::vector<std::string> links;
            for (auto row = record.nFirstEntry; row <= record.nLastEntry; ++row) {
                const auto& entry = tree_.EntryTable[row];
                if (entry.IsLink()) {
                    links.push_back(Lines(entry.sName) + "\x1E" + Address(entry.sURL));
                }
            }
            std::sort(links.begin(), links.end());
            for (const auto& link : links) {
                text += "\x1F" + link;
            }
        }
        void Leave(std::int32_t, bool) override { text += "]"; }
        std::string text;

    private:
        static std::string Address(const std::string& url) {
            std::string out;
            for (char c : url) {
                out += c == '"' ? std::string("%22") : std::string(1, c);
            }
            return out;
        }
        static std::string Lines(std::string name) {
            std::string out;
            for (std::size_t i = 0; i < name.size(); ++i) {
                if (name[i] == '\r') {
                    out += '\n';
                    if (i + 1 < name.size() && name[i + 1] == '\n') {
                        ++i;
                    }
                } else {
                    out += name[i];
                }
            }
            return out;
        }
        BookmarkTree& tree_;
    };
    Visitor visitor(tree);
    WalkExportedFolders(tree, true, visitor);
    return visitor.text;
}

// A file of this process in a memory-backed folder, where the writers'
// flush to disk costs nothing.
inline std::string ScratchPath(const std::string& name) {
    static const std::filesystem::path folder = [] {
        std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        auto path = base / ("tellavin-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return (folder / name).string();
}

// The number of links in a built tree.
inline std::int64_t LinkCount(const BookmarkTree& tree) {
    return std::count_if(tree.EntryTable.begin(), tree.EntryTable.end(),
                         [](const EntryRecord& row) { return row.IsLink(); });
}

} // namespace tellavin::fuzz
