#pragma once

#include "gui/export/export_window.h"
#include "settings/color_preset_list.h"

#include <memory>

namespace Ui {
class Form5;
}

namespace tellavin {

class FavoritesFolderField;
class LocationBox;
class MenuColorsPanel;
class MenuFileList;

// The export window that publishes a store as a menu page: path 5 from the
// Favorites folder, 6 from a Netscape-format file, 11 from an Opera
// hotlist. Three tabs: the source and the page file, the menu's colours
// and options, the page's colours and title; a preview shows one item.
class MenuPageWindow : public ExportWindow {
    Q_OBJECT

public:
    MenuPageWindow(ConversionPath code, SessionState& session, Platform& platform, Dialogs& dialogs,
                   QWidget& owner);
    ~MenuPageWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void SetUpSource();
    void SetUpBreakCount();
    void SetUpPictures();
    void PlacePreview();
    bool ValidateMaxItems();
    bool RefuseWithoutSource(const QString& text);
    void SelectLinks();
    void StartExport();
    StoreLocation Source() const;
    MenuPageOptions MenuOptions() const;

    std::unique_ptr<Ui::Form5> ui_;
    StoreKind sourceKind_;
    PresetList presets_;
    FavoritesFolderField* favorites_ = nullptr; // path 5
    LocationBox* source_ = nullptr;             // paths 6 and 11
    MenuFileList* menuFiles_ = nullptr;
    MenuColorsPanel* colors_ = nullptr;
};

} // namespace tellavin
