#include "gui/export/menu_page_window.h"

#include "gui/export/export_pictures.h"
#include "gui/export/favorites_folder_field.h"
#include "gui/export/location_box.h"
#include "gui/export/menu_colors_panel.h"
#include "gui/export/menu_file_list.h"
#include "gui/windows/conversion_path_texts.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/widget_progress.h"
#include "model/product_info.h"
#include "platform/platform.h"
#include "sources/browser_discovery.h"
#include "sources/store_discovery.h"
#include "ui_menu_page_window.h"

#include <QDir>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace tellavin {

namespace {

constexpr ConversionPath kFromFavorites = 5;
constexpr ConversionPath kFromOpera = 11;
constexpr std::int32_t kShowMaximized = 3;
constexpr int kFewestItems = 2;
constexpr int kMostItems = 99;

StoreKind SourceKindOf(ConversionPath code) {
    switch (code) {
    case kFromFavorites:
        return StoreKind::Favorites;
    case kFromOpera:
        return StoreKind::Opera;
    default:
        return StoreKind::Netscape;
    }
}

} // namespace

MenuPageWindow::MenuPageWindow(ConversionPath code, SessionState& session, Platform& platform,
                               Dialogs& dialogs, QWidget& owner)
    : ExportWindow(code, session, platform, dialogs, owner), ui_(std::make_unique<Ui::Form5>()),
      sourceKind_(SourceKindOf(code)), presets_(platform) {
    ui_->setupUi(this);
    setWindowTitle(PathWindowTitle(code_));
    SetUpCommon(*ui_->StatusBar1, *ui_->ProgressBar1, *ui_->TabStrip1);
    SetUpWhatToExport(*ui_->fraWhat, *ui_->optWhatAll, *ui_->optWhatSelect);
    SetUpSource();
    menuFiles_ = new MenuFileList(*ui_->cboDHTMLLoc, *ui_->Label1, dialogs_, platform_, *this);
    colors_ = new MenuColorsPanel(
        {{ui_->picColor_0, ui_->picColor_1, ui_->picColor_2, ui_->picColor_3, ui_->picColor_4,
          ui_->picColor_5, ui_->picColor_6, ui_->picColor_7},
         ui_->cboMenuColor,
         ui_->cmdPresetSave,
         ui_->cmdPresetDelete,
         ui_->lblSfondo,
         ui_->lblMenuBar,
         ui_->lblPreview_0,
         ui_->lblPreview_1},
        presets_, dialogs_, *this, [this](const QString& text) { SetStatus(text); });
    SetUpBreakCount();
    SetUpPictures();
    connect(ui_->cmdMenuFilename, &QPushButton::clicked, menuFiles_, &MenuFileList::Browse);
    connect(ui_->cmdSelect, &QPushButton::clicked, this, &MenuPageWindow::SelectLinks);
    connect(ui_->cmdCreaDHTML, &QPushButton::clicked, this, &MenuPageWindow::StartExport);
    connect(ui_->cmdExit, &QPushButton::clicked, this, &QWidget::close);

    LoadSettings(&presets_);
    colors_->ShowPresets();
    ui_->txtMaxItems->setEnabled(ui_->chkMaxItems->isChecked());
    const auto documents = platform_.GetSpecialFolder(SpecialFolder::Documents).value_or(".");
    menuFiles_->ChooseFirst(QDir(QString::fromStdString(documents))
                                .filePath(QStringLiteral("TL_Menu.html"))
                                .toStdString());
    if (favorites_ != nullptr) {
        favorites_->SetFolder(session_.favoritesFolder.empty() ? favorites_->LocateFavoritesFolder()
                                                               : session_.favoritesFolder);
    } else {
        source_->AddFound(sourceKind_ == StoreKind::Opera
                              ? LocateOperaHotlist(platform_)
                              : LocateBookmarkFileSources(platform_, *progress_));
    }
}

MenuPageWindow::~MenuPageWindow() = default;

void MenuPageWindow::SetUpSource() {
    if (sourceKind_ == StoreKind::Favorites) {
        for (QWidget* control :
             {static_cast<QWidget*>(ui_->lblNNLoc), static_cast<QWidget*>(ui_->cboNNLoc),
              static_cast<QWidget*>(ui_->cmdNNBrowse)}) {
            control->hide();
        }
        favorites_ = new FavoritesFolderField(*ui_->txtIELoc, *ui_->cmdIEBrowse, *ui_->cmdIEAuto,
                                              platform_, dialogs_, *this);
        connect(favorites_, &FavoritesFolderField::Changed, this, [this] {
            session_.favoritesFolder = favorites_->Folder();
            TakeSourceCounts(Source(), CountWithProgress(Source()).value_or(BookmarkCounts{}));
        });
        return;
    }
    for (QWidget* control :
         {static_cast<QWidget*>(ui_->lblIELoc), static_cast<QWidget*>(ui_->txtIELoc),
          static_cast<QWidget*>(ui_->cmdIEBrowse), static_cast<QWidget*>(ui_->cmdIEAuto)}) {
        control->hide();
    }
    const bool opera = sourceKind_ == StoreKind::Opera;
    if (opera) {
        ui_->lblNNLoc->setText(QStringLiteral("Location of Opera Hotlist:"));
        ui_->cmdNNBrowse->setStatusTip(QStringLiteral("Select the Opera Hotlist File to Export"));
    }
    const LocationBoxTexts texts =
        opera ? LocationBoxTexts{QStringLiteral("- Please Select a Hotlist File -"),
                                 QStringLiteral("Select an Opera Hotlist File"),
                                 QStringLiteral("Hotlist Files (*.adr);;All Files (*)")}
              : BookmarkFileTexts();
    source_ = new LocationBox(*ui_->cboNNLoc, LocationBox::Role::Source, sourceKind_, texts,
                              dialogs_, platform_, *this);
    source_->SetCounter([this](const std::string& path) {
        return CountWithProgress({sourceKind_, path});
    });
    connect(source_, &LocationBox::Chosen, this, [this] {
        session_.sourceFile = source_->Path();
        TakeSourceCounts(Source(), source_->Counts().value_or(BookmarkCounts{}));
    });
    connect(ui_->cmdNNBrowse, &QPushButton::clicked, source_, &LocationBox::Browse);
}

void MenuPageWindow::SetUpBreakCount() {
    // Two digits at most; the range is checked when the box is left.
    ui_->txtMaxItems->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,2}")), this));
    ui_->txtMaxItems->installEventFilter(this);
    connect(ui_->chkMaxItems, &QCheckBox::toggled, ui_->txtMaxItems, &QWidget::setEnabled);
}

void MenuPageWindow::SetUpPictures() {
    ui_->cmdIEBrowse->SetPicture(ButtonPicture("favorites"));
    ui_->cmdNNBrowse->SetPicture(
        ButtonPicture(sourceKind_ == StoreKind::Opera ? "hotlist" : "bookmark-file"));
    ui_->cmdMenuFilename->SetPicture(ButtonPicture("menu-page"));
    ui_->cmdExit->SetPicture(ButtonPicture("back"));
    ui_->cmdCreaDHTML->SetPicture(PathPicture(code_, *this));
}

void MenuPageWindow::showEvent(QShowEvent* event) {
    ExportWindow::showEvent(event);
    PlacePreview();
}

void MenuPageWindow::PlacePreview() {
    // The page fills the frame, the bar runs across its top, and the item
    // (in its border) sits in the middle.
    const QRect inside = ui_->fraPreview->contentsRect();
    ui_->lblSfondo->setGeometry(inside.adjusted(3, 0, -3, -3));
    ui_->lblMenuBar->setGeometry(2, 2, ui_->lblSfondo->width() - 4, 10);
    ui_->lblPreview_0->setGeometry((ui_->lblSfondo->width() - 100) / 2,
                                   (ui_->lblSfondo->height() - 20) / 2, 100, 20);
    ui_->lblPreview_1->setGeometry(1, 1, 98, 18);
}

bool MenuPageWindow::ValidateMaxItems() {
    bool number = false;
    const int items = ui_->txtMaxItems->text().toInt(&number);
    if (number && items >= kFewestItems && items <= kMostItems) {
        return true;
    }
    // A stored count out of range can sit in a disabled box: the box is
    // made editable so that the message points at something the user can fix.
    ui_->chkMaxItems->setChecked(true);
    ui_->TabStrip1->setCurrentIndex(1);
    ui_->txtMaxItems->selectAll();
    dialogs_.Message(this, MessageIcon::Exclamation, QString::fromLatin1(kProductTitle),
                     {QStringLiteral("Please, insert a number in range [2-99]")});
    QTimer::singleShot(0, ui_->txtMaxItems, [this] { ui_->txtMaxItems->setFocus(); });
    return false;
}

bool MenuPageWindow::RefuseWithoutSource(const QString& text) {
    if (favorites_ != nullptr) {
        favorites_->TakeTypedText();
    }
    if (source_ != nullptr) {
        source_->TakeTypedText();
    }
    if (source_ == nullptr || !source_->IsPromptSelected()) {
        return false;
    }
    RefuseNotSelected(text, kDestinationListControl, MessageIcon::Information);
    return true;
}

void MenuPageWindow::SelectLinks() {
    if (RefuseWithoutSource(QStringLiteral("Please, Select a Bookmark File."))) {
        return;
    }
    OpenSelection(Source(), {StoreKind::Menu, menuFiles_->Path()});
}

void MenuPageWindow::StartExport() {
    if (!ValidateMaxItems() ||
        RefuseWithoutSource(QStringLiteral("Please, Select A Bookmark File."))) {
        return;
    }
    menuFiles_->TakeTypedText();
    ConversionRequest request;
    request.source = Source();
    request.target = {StoreKind::Menu, menuFiles_->Path()};
    request.menu = MenuOptions();
    request.options.keepOrder = ui_->chkKeepOrder->isChecked();
    session_.menuFile = menuFiles_->Path();
    if (ui_->chkShowBrowser->isChecked()) {
        CheckAndExport(
            request, [this] { return platform_.ShellOpen(menuFiles_->Path(), kShowMaximized); },
            QStringLiteral("No Web Browser Could Be Opened to Show the Menu Page."));
    } else {
        CheckAndExport(request);
    }
    menuFiles_->RefreshLabel();
}

StoreLocation MenuPageWindow::Source() const {
    return {sourceKind_, favorites_ != nullptr ? favorites_->Folder() : source_->Path()};
}

MenuPageOptions MenuPageWindow::MenuOptions() const {
    MenuPageOptions options;
    options.bVertical = ui_->chkVertical->isChecked();
    options.bOpenNew = ui_->chkOpenNew->isChecked();
    options.bShowUrl = ui_->chkShowUrl->isChecked();
    options.bShadows = ui_->chkShadows->isChecked();
    options.bShowStatistics = ui_->chkShowStatistics->isChecked();
    options.bBreakMenus = ui_->chkMaxItems->isChecked();
    options.nMaxItems = ui_->txtMaxItems->text().toInt();
    options.sPageTitle = ui_->txtPageTitle->text().toStdString();
    options.colors = colors_->Colors();
    return options;
}

bool MenuPageWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtMaxItems && event->type() == QEvent::FocusOut &&
        ui_->txtMaxItems->isEnabled()) {
        ValidateMaxItems();
    }
    return ExportWindow::eventFilter(watched, event);
}

} // namespace tellavin
