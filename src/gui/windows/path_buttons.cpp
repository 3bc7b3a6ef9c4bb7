#include "gui/windows/path_buttons.h"

#include "gui/windows/conversion_path_texts.h"
#include "gui/windows/svg_picture.h"
#include "gui/windows/twips.h"

#include <QPainter>
#include <string_view>

namespace tellavin {

namespace {

// Sizes of the icons a button picture is made of, in twips.
constexpr int kPictureHeight = 420;
constexpr int kIconWidth = 420;
constexpr int kArrowWidth = 240;

const char* const kFavorites = "favorites";
const char* const kBookmarkFile = "bookmark-file";
const char* const kHotlist = "hotlist";
const char* const kMenuPage = "menu-page";
const char* const kArrow = "arrow";
const char* const kBack = "back";

const char* const kSourceTags[] = {
    "Export Favorites from Internet Explorer to ...",
    "Export Bookmarks from Firefox or Chromium-family to ...",
    "Export Bookmarks from Opera to ...",
};

int IconWidth(const char* icon) {
    return std::string_view(icon) == kArrow ? kArrowWidth : kIconWidth;
}

QPixmap DrawPicture(const PathButtonDesign& design, const char* look, const QPaintDevice& device,
                    qreal ratio) {
    const int height = TwipsToPixelsY(kPictureHeight, device);
    QList<QPixmap> parts;
    int width = 0;
    for (const char* icon : design.sPicture) {
        if (icon == nullptr) {
            break;
        }
        const QString file = QStringLiteral(":/icons/%1-%2.svg").arg(icon, look);
        parts.append(
            RenderSvg(file, QSize(TwipsToPixelsX(IconWidth(icon), device), height), ratio));
        width += parts.last().deviceIndependentSize().toSize().width();
    }
    QPixmap picture(QSize(width, height) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    int left = 0;
    for (const QPixmap& part : parts) {
        painter.drawPixmap(left, 0, part);
        left += part.deviceIndependentSize().toSize().width();
    }
    return picture;
}

} // namespace

const std::array<PathButtonDesign, kPathButtonCount> kPathButtons = {{
    {PathButtonRole::Source, 4, 0, {kFavorites, kArrow, nullptr}},
    {PathButtonRole::Source, 7, 0, {kBookmarkFile, kArrow, nullptr}},
    {PathButtonRole::Source, 10, 0, {kHotlist, kArrow, nullptr}},
    {PathButtonRole::Back, 0, 0, {kBack, nullptr, nullptr}},
    {PathButtonRole::Path, 0, 2, {kFavorites, kArrow, kBookmarkFile}},
    {PathButtonRole::Path, 0, 7, {kFavorites, kArrow, kHotlist}},
    {PathButtonRole::Path, 0, 5, {kFavorites, kArrow, kMenuPage}},
    {PathButtonRole::Path, 0, 4, {kBookmarkFile, kArrow, kFavorites}},
    {PathButtonRole::Path, 0, 8, {kBookmarkFile, kArrow, kHotlist}},
    {PathButtonRole::Path, 0, 6, {kBookmarkFile, kArrow, kMenuPage}},
    {PathButtonRole::Path, 0, 9, {kHotlist, kArrow, kFavorites}},
    {PathButtonRole::Path, 0, 10, {kHotlist, kArrow, kBookmarkFile}},
    {PathButtonRole::Path, 0, 11, {kHotlist, kArrow, kMenuPage}},
}};

QString PathButtonTag(int index) {
    const PathButtonDesign& design = kPathButtons.at(index);
    switch (design.role) {
    case PathButtonRole::Source:
        return QString::fromUtf8(kSourceTags[index]);
    case PathButtonRole::Back:
        return QStringLiteral("Go Back to Main Window");
    case PathButtonRole::Path:
        return PathActionText(design.code);
    }
    return QString();
}

PathButtonPictures BuildPathButtonPictures(const QPaintDevice& device, qreal devicePixelRatio) {
    PathButtonPictures pictures;
    for (const PathButtonDesign& design : kPathButtons) {
        pictures.normal.append(DrawPicture(design, "normal", device, devicePixelRatio));
        pictures.hover.append(DrawPicture(design, "hover", device, devicePixelRatio));
        pictures.disabled.append(DrawPicture(design, "disabled", device, devicePixelRatio));
    }
    return pictures;
}

} // namespace tellavin
