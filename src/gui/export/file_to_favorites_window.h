#pragma once

#include "gui/export/export_window.h"

#include <memory>

namespace Ui {
class Form4;
}

namespace tellavin {

class FavoritesFolderField;
class FavoritesPlace;
class LocationBox;

// The export window into the Favorites folder: path 4 reads a
// Netscape-format file, path 9 an Opera hotlist. The list holds the source
// files, counted when chosen; the Favorites folder is the destination, and
// the Options tab says where inside it the export goes.
class FileToFavoritesWindow : public ExportWindow {
    Q_OBJECT

public:
    FileToFavoritesWindow(ConversionPath code, SessionState& session, Platform& platform,
                          Dialogs& dialogs, QWidget& owner);
    ~FileToFavoritesWindow() override;

private:
    void SetUpForPath();
    void ShowFavoritesFolder();
    void SourceChosen();
    void FavoritesFolderChanged();
    void SelectLinks();
    void StartExport();
    // Refuses when no source file is chosen; true when it did.
    bool RefuseWithoutSource(const QString& text);

    std::unique_ptr<Ui::Form4> ui_;
    StoreKind sourceKind_;
    LocationBox* source_ = nullptr;
    FavoritesFolderField* favorites_ = nullptr;
    FavoritesPlace* place_ = nullptr;
};

} // namespace tellavin
