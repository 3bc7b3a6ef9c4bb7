#pragma once

#include "gui/export/export_window.h"

#include <memory>

namespace Ui {
class Form2;
}

namespace tellavin {

class FavoritesFolderField;
class FileTargetOptions;
class LocationBox;

// The export window from the Internet Explorer Favorites folder into a
// bookmark file: path 2 writes a Netscape-format file, path 7 an Opera
// hotlist. The Favorites folder is counted whenever it changes; the
// destination list, with the Options tab, says where and how to write.
class FavoritesToFileWindow : public ExportWindow {
    Q_OBJECT

public:
    FavoritesToFileWindow(ConversionPath code, SessionState& session, Platform& platform,
                          Dialogs& dialogs, QWidget& owner);
    ~FavoritesToFileWindow() override;

private:
    void SetUpForPath();
    void ShowFirstFolder();
    void DiscoverStores();
    void FolderChanged();
    void SelectLinks();
    void StartExport();
    StoreLocation Source() const;
    StoreLocation Destination() const;

    std::unique_ptr<Ui::Form2> ui_;
    StoreKind targetKind_;
    FavoritesFolderField* favorites_ = nullptr;
    LocationBox* to_ = nullptr;
    FileTargetOptions* options_ = nullptr;
};

} // namespace tellavin
