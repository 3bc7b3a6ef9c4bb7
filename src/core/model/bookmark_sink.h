#pragma once

#include "model/loss_report.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tellavin {

// The icon a link's store holds for it: the image's bytes (empty when there
// is none or it could not be decoded) and the address it was fetched from
// (empty when the store does not say).
struct LinkIcon {
    std::string_view image;
    std::string_view address;
};

// What a file reader pushes while it parses: the readers never touch the
// tree themselves, so the same parse can build a tree or only count.
class BookmarkSink {
public:
    virtual ~BookmarkSink() = default;
    // The text the root shows (the file's header); may come at any time.
    virtual void SetRootText(std::string text) { (void)text; }
    virtual void BeginFolder(std::string name) = 0;
    // A link with an empty address stands for an empty folder.
    virtual void AddLink(std::string name, std::string url) = 0;
    // Hands over the whole text a reader is about to parse and returns where
    // it is parsed from. A sink that keeps it as long as what it builds (the
    // tree builder) can then take addresses that stand in it as they are
    // (AddLinkInSource) instead of copies.
    virtual std::string_view KeepSourceText(std::string& text) { return text; }
    // A link given as texts the caller keeps only for the call: the sink
    // copies what it keeps, but an address that is a part of the text
    // KeepSourceText returned may stay there.
    virtual void AddLinkInSource(std::string_view name, std::string_view url) {
        AddLink(std::string(name), std::string(url));
    }
    // Whether the sink takes links' names, dates and the losses noted for
    // them. A sink that only counts does not, and readers may then pass
    // links with empty names and nothing else; folders keep their names.
    virtual bool WantsLinkDetails() const { return true; }
    // Whether the sink keeps links' icons; readers find and decode them
    // only then.
    virtual bool WantsLinkIcons() const { return false; }
    // A link whose store holds an icon for it. Sinks that keep no icons
    // take the link alone.
    virtual void AddLinkWithIcon(std::string name, std::string url, const LinkIcon& icon) {
        (void)icon;
        AddLink(std::move(name), std::move(url));
    }
    // Closes the innermost open folder; ignored at the top level.
    virtual void EndFolder() = 0;
    // Comes just before EndFolder when the folder's end is written in the
    // text (a list's "</DL>", a hotlist's "-" line): where that end starts
    // in the text parsed, so that a merge can add to the folder there.
    virtual void FolderEndsAt(std::size_t at) { (void)at; }

    // A separator line between the items of the innermost open folder.
    virtual void AddSeparator() {}
    // The creation and last change of the link added last, in seconds since
    // 1970 UTC; nothing for a date the source does not give. Ignored when
    // that link became a folder. A sink that keeps dates keeps only those a
    // link may carry (IsLinkDateInRange) and notes the others as dropped.
    virtual void SetLinkDates(std::optional<std::int64_t> created,
                              std::optional<std::int64_t> changed) {
        (void)created;
        (void)changed;
    }
    // The same from a store that writes 0 for a date it does not have.
    void SetLinkDates(std::int64_t created, std::int64_t changed) {
        auto given = [](std::int64_t date) {
            return date != 0 ? std::optional(date) : std::nullopt;
        };
        SetLinkDates(given(created), given(changed));
    }
    // What the store says of the link added last: its description, the
    // keyword that opens it from the address bar, and its tags (each one a
    // tag; a text holding commas is taken as several). Ignored when that
    // link became a folder; empty texts say nothing.
    virtual void SetLinkDescription(std::string_view description) { (void)description; }
    virtual void SetLinkKeyword(std::string_view keyword) { (void)keyword; }
    virtual void SetLinkTags(std::vector<std::string> tags) { (void)tags; }
    // The creation and last change of the folder begun last, in seconds
    // since 1970 UTC; nothing for a date the source does not give.
    virtual void SetFolderDates(std::optional<std::int64_t> created,
                                std::optional<std::int64_t> changed) {
        (void)created;
        (void)changed;
    }
    // The same from a store that writes 0 for a date it does not have.
    void SetFolderDates(std::int64_t created, std::int64_t changed) {
        auto given = [](std::int64_t date) {
            return date != 0 ? std::optional(date) : std::nullopt;
        };
        SetFolderDates(given(created), given(changed));
    }
    // What the store says of the folder begun last; empty says nothing.
    virtual void SetFolderDescription(std::string_view description) { (void)description; }
    // The folder begun last is the browser's bookmarks toolbar.
    virtual void MarkToolbarFolder() {}
    // The folder begun last holds deleted entries (a hotlist's trash).
    virtual void MarkTrashFolder() {}
    // Something of the source that reading leaves out, with an example.
    virtual void NoteLoss(LossKind kind, std::string example) {
        (void)kind;
        (void)example;
    }
};

// Counts what a parse would load, with the same rule as the tree builder,
// so the counts shown before a selection equal what the tree then holds.
class CountingSink final : public BookmarkSink {
public:
    // Called once per folder, with its name, as the count goes.
    std::function<void(const std::string&)> onFolder;

    void BeginFolder(std::string name) override;
    void AddLink(std::string name, std::string url) override;
    // Counts without copying the address.
    void AddLinkInSource(std::string_view name, std::string_view url) override;
    bool WantsLinkDetails() const override { return false; }
    void EndFolder() override {}

    std::int32_t folders() const { return folders_; }
    std::int32_t links() const { return links_; }

private:
    std::int32_t folders_ = 0;
    std::int32_t links_ = 0;
};

} // namespace tellavin
