#pragma once

#include "model/bookmark_tree.h"
#include "model/folder_walk.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tellavin::fuzz {

// The address starts with a scheme ("http:", "place:"): the links the
// Netscape-format reader keeps.
inline bool HasScheme(const std::string& url) {
    auto byte = [](char c) { return static_cast<unsigned char>(c); };
    auto colon = url.find(':');
    if (colon == 0 || colon == std::string::npos || !std::isalpha(byte(url[0]))) {
        return false;
    }
    return std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), [&](char c) {
        return std::isalnum(byte(c)) || c == '+' || c == '-' || c == '.';
    });
}

// The text without the blanks the Netscape-format reader drops around a
// name or address: ASCII white space, the Unicode spaces and a stray byte
// order mark.
inline std::string Trimmed(std::string_view text) {
    static constexpr std::string_view kSpaces[] = {
        "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
        "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87",
        "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9",
        "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80", "\xEF\xBB\xBF", " ",
        "\t",           "\n",           "\v",           "\f",           "\r"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (auto space : kSpaces) {
            if (text.starts_with(space)) {
                text.remove_prefix(space.size());
                trimmed = true;
            }
            if (text.ends_with(space)) {
                text.remove_suffix(space.size());
                trimmed = true;
            }
        }
    }
    return std::string(text);
}

// An address as both readers keep it: without surrounding blanks, without
// tabs and line breaks (also a hotlist's 0x02 0x02) inside, and with a
// double quote as %22, as the Netscape-format writer puts it.
inline std::string Address(std::string_view url) {
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

// The tree as one text that two trees share when they hold the same
// folders and links, for comparing a tree with what a writer and a reader
// made of it. Left out or made alike is what the formats are known to
// change on the way:
//   - the root's own text (each format names its root) and the order of a
//     folder's links (writers sort them);
//   - in names: surrounding blanks, Unicode spaces too (the Netscape-format
//     reader drops them), and CR LF, CR, LF and the 0x02 0x02 of a hotlist
//     are all one line break;
//   - in addresses: what Address leaves out, and links whose address has no
//     scheme, which the Netscape-format reader skips.
inline std::string CanonicalTree(BookmarkTree& tree) {
    class Visitor final : public FolderVisitor {
    public:
        explicit Visitor(BookmarkTree& tree) : tree_(tree) {}
        void Enter(std::int32_t folder, bool isStart) override {
            text += isStart ? "[" : "\x1F" + Name(tree_.Node(folder).Text) + "[";
            std::vector<std::string> links;
            for (const auto& entry : tree_.Rows(folder)) {
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
        static std::string Name(std::string_view name) {
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
        BookmarkTree& tree_;
    };
    Visitor visitor(tree);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet);
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

// The folders and the links with a scheme of a tree: what must survive a
// conversion into another format, whose reader may trim names (and so
// number two that become equal) but may lose or add nothing.
inline std::pair<std::int32_t, std::int64_t> Counts(BookmarkTree& tree) {
    // Counted over the folders the writers export: a hotlist's trash is not.
    class Visitor final : public FolderVisitor {
    public:
        explicit Visitor(BookmarkTree& tree) : tree_(tree) {}
        void Enter(std::int32_t folder, bool) override {
            ++folders;
            auto rows = tree_.Rows(folder);
            links += std::count_if(rows.begin(), rows.end(), [](const EntryRecord& row) {
                return row.IsLink() && HasScheme(Address(row.sURL));
            });
        }
        void Leave(std::int32_t, bool) override {}
        std::int32_t folders = 0;
        std::int64_t links = 0;

    private:
        BookmarkTree& tree_;
    };
    Visitor visitor(tree);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet);
    return {visitor.folders, visitor.links};
}

// The number of links in a built tree.
inline std::int64_t LinkCount(const BookmarkTree& tree) {
    return std::count_if(tree.EntryTable.begin(), tree.EntryTable.end(),
                         [](const EntryRecord& row) { return row.IsLink(); });
}

} // namespace tellavin::fuzz
