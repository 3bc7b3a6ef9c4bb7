#include "gui/export/bookmark_files_window.h"

#include "gui/export/export_pictures.h"
#include "gui/export/file_target_options.h"
#include "gui/export/location_box.h"
#include "gui/windows/conversion_path_texts.h"
#include "gui/windows/widget_progress.h"
#include "sources/browser_discovery.h"
#include "sources/store_discovery.h"
#include "ui_bookmark_files_window.h"

namespace tellavin {

namespace {

constexpr ConversionPath kOperaToNetscape = 10;

} // namespace

BookmarkFilesWindow::BookmarkFilesWindow(ConversionPath code, SessionState& session,
                                         Platform& platform, Dialogs& dialogs, QWidget& owner)
    : ExportWindow(code, session, platform, dialogs, owner), ui_(std::make_unique<Ui::Form6>()),
      sourceKind_(code == kOperaToNetscape ? StoreKind::Opera : StoreKind::Netscape),
      targetKind_(code == kOperaToNetscape ? StoreKind::Netscape : StoreKind::Opera) {
    ui_->setupUi(this);
    SetUpCommon(*ui_->StatusBar1, *ui_->ProgressBar1, *ui_->TabStrip1);
    SetUpForPath();

    SetUpWhatToExport(*ui_->fraWhat, *ui_->optWhatAll, *ui_->optWhatSelect);
    options_ = new FileTargetOptions(FileTargetOptions::Of(*ui_), *to_, session_, this);
    connect(from_, &LocationBox::Chosen, this, &BookmarkFilesWindow::SourceChosen);
    connect(ui_->cmdSelectFrom, &QPushButton::clicked, from_, &LocationBox::Browse);
    connect(ui_->Command2, &QPushButton::clicked, to_, &LocationBox::Browse);
    connect(ui_->Command5, &QPushButton::clicked, this, &BookmarkFilesWindow::SelectLinks);
    connect(ui_->Command10, &QPushButton::clicked, this, &BookmarkFilesWindow::StartExport);
    connect(ui_->Command8, &QPushButton::clicked, this, &QWidget::close);

    LoadSettings();
    DiscoverStores();
    options_->RefreshOptions();
}

BookmarkFilesWindow::~BookmarkFilesWindow() = default;

void BookmarkFilesWindow::SetUpForPath() {
    const bool fromOpera = code_ == kOperaToNetscape;
    setWindowTitle(PathWindowTitle(code_));
    const QString bookmarkFile = QStringLiteral("Location of Firefox Bookmarks:");
    const QString hotlist = QStringLiteral("Location of Opera Hotlist:");
    ui_->Label3->setText(fromOpera ? hotlist : bookmarkFile);
    ui_->Label1->setText(fromOpera ? bookmarkFile : hotlist);
    ui_->cmdSelectFrom->setStatusTip(fromOpera
                                         ? QStringLiteral("Select the Opera Hotlist to Export")
                                         : QStringLiteral("Select the Bookmark File to Export"));
    if (!fromOpera) {
        ui_->Command2->setStatusTip(
            QStringLiteral("Select the Opera Hotlist File Where to Export"));
    }
    ui_->optOldMerge->setText(
        fromOpera ? QStringLiteral("Merge Opera Bookmarks with Old Firefox Bookmarks")
                  : QStringLiteral("Merge Firefox Bookmarks with Old Opera Bookmarks"));
    ui_->txtWhereNew->setText(NewFolderName(fromOpera ? QStringLiteral("Imported from Opera (")
                                                      : QStringLiteral("Imported from FF (")));

    auto destination = fromOpera ? BookmarkFileTexts() : HotlistTexts();
    destination.dialogTitle = fromOpera
                                  ? QStringLiteral("Select Where To Export The Opera Bookmarks")
                                  : QStringLiteral("Select Where To Export The FF Bookmarks");
    from_ = new LocationBox(*ui_->cboFromLoc, LocationBox::Role::Source, sourceKind_,
                            fromOpera ? HotlistTexts() : BookmarkFileTexts(), dialogs_, platform_,
                            *this);
    to_ = new LocationBox(*ui_->cboNNLoc, LocationBox::Role::Destination, targetKind_, destination,
                          dialogs_, platform_, *this);
    from_->SetCounter([this](const std::string& path) {
        return CountWithProgress({sourceKind_, path});
    });

    ui_->cmdSelectFrom->SetPicture(ButtonPicture(fromOpera ? "hotlist" : "bookmark-file"));
    ui_->Command2->SetPicture(ButtonPicture(fromOpera ? "bookmark-file" : "hotlist"));
    ui_->Command8->SetPicture(ButtonPicture("back"));
    ui_->Command10->SetPicture(PathPicture(code_, *this));
}

void BookmarkFilesWindow::DiscoverStores() {
    // A bookmark file as the source may also be a browser's own database;
    // the destination is a bookmark file or a browser's profile.
    const bool fromOpera = code_ == kOperaToNetscape;
    auto files = fromOpera ? LocateFirefoxBookmarks(platform_, *progress_)
                           : LocateBookmarkFileSources(platform_, *progress_);
    auto opera = LocateOperaHotlist(platform_);
    from_->AddFound(fromOpera ? opera : files);
    to_->AddFound(FilesThenBrowsers(fromOpera ? files : opera, platform_));
    SetStatus(QString());
}

void BookmarkFilesWindow::SourceChosen() {
    session_.sourceFile = from_->Path();
    TakeSourceCounts(Source(), from_->Counts().value_or(BookmarkCounts{}));
}

void BookmarkFilesWindow::SelectLinks() {
    from_->TakeTypedText();
    OpenSelection(Source(), Destination());
}

void BookmarkFilesWindow::StartExport() {
    from_->TakeTypedText();
    to_->TakeTypedText();
    if (from_->IsPromptSelected()) {
        RefuseNotSelected(QStringLiteral("Please, Select a Bookmark File to Export."),
                          kSourceListControl, MessageIcon::Exclamation);
        return;
    }
    if (to_->IsPromptSelected()) {
        RefuseNotSelected(QStringLiteral("Please, Select a Bookmark File Where to Export."),
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

StoreLocation BookmarkFilesWindow::Source() const {
    return {sourceKind_, from_->Path()};
}

StoreLocation BookmarkFilesWindow::Destination() const {
    return {to_->Kind(), to_->Path()};
}

} // namespace tellavin
