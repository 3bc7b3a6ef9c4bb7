#include "gui/export/file_to_favorites_window.h"

#include "gui/export/export_pictures.h"
#include "gui/export/favorites_folder_field.h"
#include "gui/export/favorites_place.h"
#include "gui/export/location_box.h"
#include "gui/windows/conversion_path_texts.h"
#include "gui/windows/widget_progress.h"
#include "sources/browser_discovery.h"
#include "sources/store_discovery.h"
#include "ui_file_to_favorites_window.h"

namespace tellavin {

namespace {

constexpr ConversionPath kOperaToFavorites = 9;

} // namespace

FileToFavoritesWindow::FileToFavoritesWindow(ConversionPath code, SessionState& session,
                                             Platform& platform, Dialogs& dialogs, QWidget& owner)
    : ExportWindow(code, session, platform, dialogs, owner), ui_(std::make_unique<Ui::Form4>()),
      sourceKind_(code == kOperaToFavorites ? StoreKind::Opera : StoreKind::Netscape) {
    ui_->setupUi(this);
    SetUpCommon(*ui_->StatusBar1, *ui_->ProgressBar1, *ui_->TabStrip1);
    SetUpForPath();

    SetUpWhatToExport(*ui_->fraWhat, *ui_->NNoptWhatAll, *ui_->NNoptWhatSelect);
    favorites_ = new FavoritesFolderField(*ui_->txtIELoc, *ui_->NNcmdIEBrowse, *ui_->NNcmdIEAuto,
                                          platform_, dialogs_, *this);
    place_ = new FavoritesPlace(
        {ui_->NNoptWhere_0, ui_->NNoptWhere_1, ui_->NNtxtWhereNew, ui_->NNoptWhere_2,
         ui_->NNtxtWhereExist, ui_->NNcmdWhereBrowse},
        [this] { return favorites_->Folder(); }, dialogs_, *this);
    connect(source_, &LocationBox::Chosen, this, &FileToFavoritesWindow::SourceChosen);
    connect(favorites_, &FavoritesFolderField::Changed, this,
            &FileToFavoritesWindow::FavoritesFolderChanged);
    connect(ui_->NNcmdNNBrowse, &QPushButton::clicked, source_, &LocationBox::Browse);
    connect(ui_->NNcmdSelect, &QPushButton::clicked, this, &FileToFavoritesWindow::SelectLinks);
    connect(ui_->Command10, &QPushButton::clicked, this, &FileToFavoritesWindow::StartExport);
    connect(ui_->NNcmdExit, &QPushButton::clicked, this, &QWidget::close);

    LoadSettings();
    place_->ShowChoice();
    ShowFavoritesFolder();
    source_->AddFound(sourceKind_ == StoreKind::Opera
                          ? LocateOperaHotlist(platform_)
                          : LocateBookmarkFileSources(platform_, *progress_));
    SetStatus(QString());
    ui_->cboNNLoc->setFocus();
}

FileToFavoritesWindow::~FileToFavoritesWindow() = default;

void FileToFavoritesWindow::SetUpForPath() {
    const bool fromOpera = sourceKind_ == StoreKind::Opera;
    setWindowTitle(PathWindowTitle(code_));
    if (fromOpera) {
        ui_->Label1->setText(QStringLiteral("Location of Opera Hotlist:"));
        ui_->NNcmdNNBrowse->setStatusTip(QStringLiteral("Select the Opera Hotlist File to Export"));
    }
    ui_->NNtxtWhereNew->setText(NewFolderName(fromOpera ? QStringLiteral("Imported from Opera (")
                                                        : QStringLiteral("Imported from FF (")));
    source_ =
        new LocationBox(*ui_->cboNNLoc, LocationBox::Role::Source, sourceKind_,
                        sourceKind_ == StoreKind::Opera ? HotlistTexts() : BookmarkFileTexts(),
                        dialogs_, platform_, *this);
    source_->SetCounter([this](const std::string& path) {
        return CountWithProgress({sourceKind_, path});
    });

    ui_->NNcmdNNBrowse->SetPicture(ButtonPicture(fromOpera ? "hotlist" : "bookmark-file"));
    ui_->NNcmdIEBrowse->SetPicture(ButtonPicture("favorites"));
    ui_->NNcmdExit->SetPicture(ButtonPicture("back"));
    ui_->Command10->SetPicture(PathPicture(code_, *this));
}

// The remembered Favorites folder, or the user's own when none is.
void FileToFavoritesWindow::ShowFavoritesFolder() {
    const auto folder = session_.favoritesFolder.empty() ? favorites_->LocateFavoritesFolder()
                                                         : session_.favoritesFolder;
    favorites_->SetFolder(folder);
}

void FileToFavoritesWindow::SourceChosen() {
    session_.sourceFile = source_->Path();
    TakeSourceCounts({sourceKind_, source_->Path()}, source_->Counts().value_or(BookmarkCounts{}));
}

void FileToFavoritesWindow::FavoritesFolderChanged() {
    session_.favoritesFolder = favorites_->Folder();
    place_->FavoritesFolderChanged();
}

bool FileToFavoritesWindow::RefuseWithoutSource(const QString& text) {
    source_->TakeTypedText();
    if (!source_->IsPromptSelected()) {
        return false;
    }
    RefuseNotSelected(text, kDestinationListControl, MessageIcon::Information);
    return true;
}

void FileToFavoritesWindow::SelectLinks() {
    if (!RefuseWithoutSource(QStringLiteral("Please, Select a Bookmark File."))) {
        OpenSelection({sourceKind_, source_->Path()}, {StoreKind::Favorites, favorites_->Folder()});
    }
}

void FileToFavoritesWindow::StartExport() {
    if (RefuseWithoutSource(QStringLiteral("Please, Select A Bookmark File."))) {
        return;
    }
    ConversionRequest request;
    request.source = {sourceKind_, source_->Path()};
    request.target = {StoreKind::Favorites, favorites_->Folder()};
    request.options.newFolder = place_->NewFolder();
    request.options.existingFolder = place_->ExistingFolder();
    request.options.keepOrder = ui_->chkKeepOrder->isChecked();
    request.options.keepDuplicates = !ui_->chkSkipThere->isChecked();
    CheckAndExport(request);
}

} // namespace tellavin
