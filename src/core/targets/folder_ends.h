#pragma once

#include "model/bookmark_sink.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// Where each folder of a parsed bookmark file ends in its text: the place a
// merge adds to the folder, just before the folder's closing line or tag.
// Folders are numbered as the tree built from the same parse numbers its
// nodes (the root 0, then each folder as it begins, a link without address
// standing for one), so a folder found in that tree is found here.
class FolderEnds {
public:
    void Begin() {
        ends_.emplace_back();
        open_.push_back(static_cast<std::int32_t>(ends_.size()) - 1);
    }
    void Link(std::string_view url) {
        if (url.empty()) {
            ends_.emplace_back();
        }
    }
    void EndsAt(std::size_t at) {
        if (!open_.empty()) {
            ends_[static_cast<std::size_t>(open_.back())] = at;
        }
    }
    void End() {
        if (!open_.empty()) {
            open_.pop_back();
        }
    }

    // Where the folder ends, when its end is written in the text; the root
    // (0) has none here, its end being the file's own business.
    std::optional<std::size_t> EndOf(std::int32_t folder) const {
        auto at = static_cast<std::size_t>(folder);
        return at < ends_.size() ? ends_[at] : std::nullopt;
    }

private:
    std::vector<std::optional<std::size_t>> ends_{std::nullopt}; // per folder, the root first
    std::vector<std::int32_t> open_;
};

// A sink that only finds the folders' ends.
class FolderEndSink final : public BookmarkSink {
public:
    void BeginFolder(std::string) override { ends.Begin(); }
    void AddLink(std::string, std::string url) override { ends.Link(url); }
    void AddLinkInSource(std::string_view, std::string_view url) override { ends.Link(url); }
    void AddLinkWithIcon(std::string, std::string url, const LinkIcon&) override { ends.Link(url); }
    bool WantsLinkDetails() const override { return false; }
    void FolderEndsAt(std::size_t at) override { ends.EndsAt(at); }
    void EndFolder() override { ends.End(); }

    FolderEnds ends;
};

} // namespace tellavin
