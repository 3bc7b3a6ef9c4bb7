#pragma once

#include "gui/export/export_window.h"

#include <memory>

namespace Ui {
class Form6;
}

namespace tellavin {

class FileTargetOptions;
class LocationBox;

// The export window between the two bookmark files: path 8 reads a
// Netscape-format file into an Opera hotlist, path 10 the reverse. The
// source list counts the file chosen; the destination list, with the
// Options tab, says where and how to write.
class BookmarkFilesWindow : public ExportWindow {
    Q_OBJECT

public:
    BookmarkFilesWindow(ConversionPath code, SessionState& session, Platform& platform,
                        Dialogs& dialogs, QWidget& owner);
    ~BookmarkFilesWindow() override;

private:
    void SetUpForPath();
    void DiscoverStores();
    void SourceChosen();
    void SelectLinks();
    void StartExport();
    StoreLocation Source() const;
    StoreLocation Destination() const;

    std::unique_ptr<Ui::Form6> ui_;
    StoreKind sourceKind_;
    StoreKind targetKind_;
    LocationBox* from_ = nullptr;
    LocationBox* to_ = nullptr;
    FileTargetOptions* options_ = nullptr;
};

} // namespace tellavin
