#pragma once

#include "model/bookmark_sink.h"

#include <memory>
#include <string>
#include <string_view>

namespace tellavin {

// The icons a browser keeps for the pages it has shown, found by a page's
// address. Icons are only ever read from the store: none is fetched.
class FaviconStore {
public:
    virtual ~FaviconStore() = default;
    // The icon the browser shows for the page at url: the image closest to
    // 16 pixels wide (the smallest one at least as wide, else the widest),
    // and the address it came from. Empty when the store holds none. Valid
    // until the next call.
    virtual LinkIcon IconOf(std::string_view url) = 0;
};

// The icons of the Firefox profile whose places.sqlite lies at placesPath,
// from its favicons.sqlite (moz_icons with the image in data and its
// address in icon_url, moz_pages_w_icons with the page's address,
// moz_icons_to_pages linking the two); a page without an icon of its own
// shows its site's root icon (root = 1, "<scheme>://<host>/favicon.ico").
// Read from a copy, as places.sqlite is (sqlite::OpenConsistentCopy).
// Nothing when the profile has no such database or it cannot be read, and
// in a build without SQLite.
std::unique_ptr<FaviconStore> OpenFirefoxFavicons(const std::string& placesPath);

// The icons of the Chromium-family profile whose Bookmarks file lies at
// bookmarksPath, from its Favicons database (icon_mapping from page_url to
// icon_id, favicons with the icon's url, favicon_bitmaps with its images as
// image_data by width), read from a copy likewise. Nothing when there is
// none or it cannot be read, and in a build without SQLite.
std::unique_ptr<FaviconStore> OpenChromiumFavicons(const std::string& bookmarksPath);

// Passes everything a reader pushes on to another sink, each link with the
// icon the store holds for its address.
class IconAddingSink final : public BookmarkSink {
public:
    IconAddingSink(BookmarkSink& sink, FaviconStore& icons) : sink_(sink), icons_(icons) {}

    void SetRootText(std::string text) override { sink_.SetRootText(std::move(text)); }
    void BeginFolder(std::string name) override { sink_.BeginFolder(std::move(name)); }
    void AddLink(std::string name, std::string url) override;
    std::string_view KeepSourceText(std::string& text) override {
        return sink_.KeepSourceText(text);
    }
    void AddLinkInSource(std::string_view name, std::string_view url) override;
    bool WantsLinkDetails() const override { return sink_.WantsLinkDetails(); }
    bool WantsLinkIcons() const override { return sink_.WantsLinkIcons(); }
    void AddLinkWithIcon(std::string name, std::string url, const LinkIcon& icon) override {
        sink_.AddLinkWithIcon(std::move(name), std::move(url), icon);
    }
    void EndFolder() override { sink_.EndFolder(); }
    void FolderEndsAt(std::size_t at) override { sink_.FolderEndsAt(at); }
    void AddSeparator() override { sink_.AddSeparator(); }
    void SetLinkDates(std::optional<std::int64_t> created,
                      std::optional<std::int64_t> changed) override {
        sink_.SetLinkDates(created, changed);
    }
    using BookmarkSink::SetLinkDates;
    void SetLinkDescription(std::string_view description) override {
        sink_.SetLinkDescription(description);
    }
    void SetLinkKeyword(std::string_view keyword) override { sink_.SetLinkKeyword(keyword); }
    void SetLinkTags(std::vector<std::string> tags) override { sink_.SetLinkTags(std::move(tags)); }
    void SetFolderDates(std::optional<std::int64_t> created,
                        std::optional<std::int64_t> changed) override {
        sink_.SetFolderDates(created, changed);
    }
    using BookmarkSink::SetFolderDates;
    void SetFolderDescription(std::string_view description) override {
        sink_.SetFolderDescription(description);
    }
    void MarkToolbarFolder() override { sink_.MarkToolbarFolder(); }
    void MarkTrashFolder() override { sink_.MarkTrashFolder(); }
    void NoteLoss(LossKind kind, std::string example) override {
        sink_.NoteLoss(kind, std::move(example));
    }

private:
    BookmarkSink& sink_;
    FaviconStore& icons_;
};

} // namespace tellavin
