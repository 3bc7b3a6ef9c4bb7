#include "support/ordered_tree.h"

#include <string_view>
#include <utility>
#include <vector>

namespace tellavin::test {

namespace {

std::string DatesText(std::int64_t created, std::int64_t changed) {
    if (created == 0 && changed == 0) {
        return {};
    }
    return "{" + std::to_string(created) + "/" + std::to_string(changed) + "}";
}

std::string DetailsText(std::string_view description, std::string_view keyword,
                        std::string_view tags) {
    std::string parts;
    for (auto [mark, value] : {std::pair{"d:", description}, {"k:", keyword}, {"t:", tags}}) {
        if (!value.empty()) {
            parts += (parts.empty() ? "" : " ") + std::string(mark) + std::string(value);
        }
    }
    return parts.empty() ? parts : "<" + parts + ">";
}

std::string LinkText(const BookmarkTree& tree, const EntryRecord& row, bool withChanged,
                     bool withDetails) {
    auto text = std::string(row.sName) + "=" + std::string(row.sURL);
    text += DatesText(row.nCreated, withChanged ? row.nChanged : 0);
    if (withDetails) {
        const auto& details = tree.DetailsOf(row);
        text += DetailsText(details.description, details.keyword, details.tags);
    }
    return text;
}

std::string FolderText(const BookmarkTree& tree, std::int32_t folder, bool withChanged,
                       bool withDetails) {
    const auto& record = tree.FolderTable.at(folder);
    auto text = tree.Node(folder).Text + (record.bToolbar ? "*" : "");
    if (withDetails) {
        text += DatesText(record.nCreated, withChanged ? record.nChanged : 0);
        text += DetailsText(record.sDescription, {}, {});
    }
    return text + "[";
}

} // namespace

std::string OrderedTreeText(BookmarkTree& tree, bool withChanged, bool withDetails) {
    std::string text = "root[";
    struct Frame {
        std::int32_t folder;
        std::size_t next;
    };
    std::vector<Frame> open{{0, 0}};
    tree.EnsureListed(0);
    while (!open.empty()) {
        auto& frame = open.back();
        auto rows = tree.Rows(frame.folder);
        if (frame.next == rows.size()) {
            text += " ]";
            open.pop_back();
            continue;
        }
        const auto& row = rows[frame.next++];
        if (row.IsSeparator()) {
            text += " ---";
        } else if (row.IsLink()) {
            text += " " + LinkText(tree, row, withChanged, withDetails);
        } else {
            auto child = row.nFolder;
            text += " " + FolderText(tree, child, withChanged, withDetails);
            tree.EnsureListed(child);
            open.push_back({child, 0});
        }
    }
    return text;
}

} // namespace tellavin::test
