#pragma once

#include "model/bookmark_tree.h"
#include "model/folder_walk.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tellavin::fuzz {

// The tree as one text that two trees share when they hold the same
// folders and links, for comparing a tree with what a writer and a reader
// made of it. Left out or made alike is what the formats are known to
// change on the way:
//   - the root's own text (each format names its root) and the order of a
//     folder's links (writers sort them);
//   - in names: surrounding blanks (HTML drops them), and CR LF, CR, LF and
//     the 0x02 0x02 of a hotlist are all one line break;
//   - in addresses: surrounding blanks, tabs and line breaks of any of
//     these kinds (readers drop them), a double quote and its %22 form, and links whose address has
//     no scheme, which the Netscape-format reader skips.
inline std::string CanonicalTree(BookmarkTree& tree) {
    class Visitor final : public FolderVisitor {
    public:
        explicit Visitor(BookmarkTree& tree) : tree_(tree) {}
        void Enter(std::int32_t folder, bool isStart) override {
            text += isStart ? "[" : "\x1F" + Name(tree_.Node(folder).Text) + "[";
            tree_.EnsureListed(folder);
            const auto& record = tree_.FolderTable[folder];
            std::vector<std::string> links;
            for (auto row = record.nFirstEntry; row <= record.nLastEntry; ++row) {
                const auto& entry = tree_.EntryTable[row];
                auto address = Address(entry.sURL);
                if (entry.IsLink() && HasScheme(address)) {
                    links.push_back(Name(entry.sName) + "\x1E" + address);
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
        static std::string Trimmed(const std::string& text) {
            constexpr const char* kBlanks = " \t\n\f\r";
            auto first = text.find_first_not_of(kBlanks);
            if (first == std::string::npos) {
                return {};
            }
            return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
        }
        static std::string Name(const std::string& name) {
            std::string out;
            for (std::size_t i = 0; i < name.size(); ++i) {
                if (name.compare(i, 2, "\r\n") == 0 || name.compare(i, 2, "\x02\x02") == 0) {
                    out += '\n';
                    ++i;
                } else {
                    out += name[i] == '\r' ? '\n' : name[i];
                }
            }
            return Trimmed(out);
        }
        static std::string Address(const std::string& url) {
            std::string out;
            auto trimmed = Trimmed(url);
            for (std::size_t i = 0; i < trimmed.size(); ++i) {
                char c = trimmed[i];
                if (c == '"') {
                    out += "%22";
                } else if (trimmed.compare(i, 2, "\x02\x02") == 0) {
                    ++i;
                } else if (c != '\t' && c != '\r' && c != '\n') {
                    out += c;
                }
            }
            return out;
        }
        static bool HasScheme(const std::string& url) {
            auto colon = url.find(':');
            if (colon == 0 || colon == std::string::npos || !std::isalpha(Byte(url[0]))) {
                return false;
            }
            return std::all_of(
                url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon),
                [](char c) { return std::isalnum(Byte(c)) || c == '+' || c == '-' || c == '.'; });
        }
        static unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
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
