#include "gui/export/favorites_to_file_window.h"

#include "gui/export/export_pictures.h"
#include "gui/export/favorites_folder_field.h"
#include "gui/export/file_target_options.h"
#include "gui/export/location_box.h"
#include "gui/windows/conversion_path_texts.h"
#include "gui/windows/widget_progress.h"
#include "sources/store_discovery.h"
#include "ui_favorites_to_file_window.h"

#include <QCloseEvent>

namespace tellavin {

namespace {

constexpr ConversionPath kFavoritesToOpera = 7;

} // namespace

FavoritesToFileWindow::FavoritesToFileWindow(ConversionPath code, SessionState& session,
                                             Platform& platform, Dialogs& dialogs, QWidget& owner)
    : ExportWindow(code, session, platform, dialogs, owner), ui_(std::make_unique<Ui::Form2>()),
      targetKind_(code == kFavoritesToOpera ? StoreKind::Opera : StoreKind::Netscape) {
    ui_->setupUi(this);
    SetUpCommon(*ui_->StatusBar1, *ui_->ProgressBar1, *ui_->TabStrip1);
    SetUpForPath();

    favorites_ = new FavoritesFolderField(*ui_->txtIELoc, *ui_->Command1, *ui_->Command3, platform_,
                                          dialogs_, *this);
    SetUpWhatToExport(*ui_->fraWhat, *ui_->optWhatAll, *ui_->optWhatSelect);
    options_ = new FileTargetOptions(FileTargetOptions::Of(*ui_), *to_, session_, this);
    connect(favorites_, &FavoritesFolderField::Changed, this,
            &FavoritesToFileWindow::FolderChanged);
    connect(ui_->Command2, &QPushButton::clicked, to_, &LocationBox::Browse);
    connect(ui_->Command5, &QPushButton::clicked, this, &FavoritesToFileWindow::SelectLinks);
    connect(ui_->Command10, &QPushButton::clicked, this, &FavoritesToFileWindow::StartExport);
    connect(ui_->Command8, &QPushButton::clicked, this, &QWidget::close);

    LoadSettings();
    ShowFirstFolder();
    DiscoverStores();
    options_->RefreshOptions();
}

FavoritesToFileWindow::~FavoritesToFileWindow() = default;

void FavoritesToFileWindow::SetUpForPath() {
    const bool toOpera = code_ == kFavoritesToOpera;
    setWindowTitle(PathWindowTitle(code_));
    if (toOpera) {
        ui_->Label1->setText(QStringLiteral("Location of Opera Hotlist:"));
        ui_->Command2->setStatusTip(
            QStringLiteral("Select the Opera Hotlist File Where to Export"));
    }
    ui_->txtWhereNew->setText(NewFolderName(QStringLiteral("Imported from IE (")));

    auto destination = toOpera ? HotlistTexts() : BookmarkFileTexts();
    destination.dialogTitle = QStringLiteral("Select Where To Export The IE Favorites");
    to_ = new LocationBox(*ui_->cboNNLoc, LocationBox::Role::Destination, targetKind_, destination,
                          dialogs_, platform_, *this);

    ui_->Command1->SetPicture(ButtonPicture("favorites"));
    ui_->Command2->SetPicture(ButtonPicture(toOpera ? "hotlist" : "bookmark-file"));
    ui_->Command8->SetPicture(ButtonPicture("back"));
    ui_->Command10->SetPicture(PathPicture(code_, *this));
}

// The remembered Favorites folder, or the user's own when none is
// remembered, is counted as soon as the window opens.
void FavoritesToFileWindow::ShowFirstFolder() {
    auto folder = session_.favoritesFolder;
    if (folder.empty()) {
        folder = favorites_->LocateFavoritesFolder();
    }
    ui_->cboNNLoc->setFocus();
    favorites_->SetFolder(folder);
}

void FavoritesToFileWindow::DiscoverStores() {
    to_->AddFound(FilesThenBrowsers(code_ == kFavoritesToOpera
                                        ? LocateOperaHotlist(platform_)
                                        : LocateFirefoxBookmarks(platform_, *progress_),
                                    platform_));
    SetStatus(QStringLiteral("Ready"));
}

void FavoritesToFileWindow::FolderChanged() {
    session_.favoritesFolder = favorites_->Folder();
    TakeSourceCounts(Source(), CountWithProgress(Source()).value_or(BookmarkCounts{}));
}

void FavoritesToFileWindow::SelectLinks() {
    favorites_->TakeTypedText();
    OpenSelection(Source(), Destination());
}

void FavoritesToFileWindow::StartExport() {
    favorites_->TakeTypedText();
    to_->TakeTypedText();
    if (to_->IsPromptSelected()) {
        RefuseNotSelected(
            QStringLiteral("Please, Select a Bookmark File Where to Export IE Favorites."),
            kDestinationListControl, MessageIcon::Exclamation);
        return;
    }
    ConversionRequest request;
    request.source = Source();
    request.target = Destination();
    request.options = options_->Options();
    CheckAndExport(request);
    options_->RefreshOptions();
}

StoreLocation FavoritesToFileWindow::Source() const {
    return {StoreKind::Favorites, favorites_->Folder()};
}

StoreLocation FavoritesToFileWindow::Destination() const {
    return {to_->Kind(), to_->Path()};
}

} // namespace tellavin
