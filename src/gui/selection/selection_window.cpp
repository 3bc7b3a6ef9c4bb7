#include "gui/selection/selection_window.h"

#include "gui/selection/folder_rows_model.h"
#include "gui/selection/folder_tree_model.h"
#include "gui/windows/busy_cursor.h"
#include "gui/windows/gui_resources.h"
#include "gui/windows/widget_controls.h"
#include "model/progress.h"
#include "model/session_state.h"
#include "platform/platform.h"
#include "settings/window_settings.h"
#include "sources/source_loader.h"
#include "ui_selection_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

namespace tellavin {

namespace {

// The selection window's kind among the windows whose place is saved.
constexpr std::int32_t kSelectionWindowKind = 3;

// How a link opens on a double click: maximised.
constexpr std::int32_t kShowMaximized = 3;

// The pause after the last keystroke in the Find box before the search
// runs, short enough that a search of a million links still answers within
// a third of a second.
constexpr int kFindPauseMilliseconds = 150;

// Up to this many folders shown, a search opens all of them; beyond, the
// view would spend longer laying them out than the search took.
constexpr std::int32_t kMostOpenedFolders = 2000;

bool IsRightButtonRelease(QEvent* event) {
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
}

} // namespace

SelectionWindow::SelectionWindow(StoreLocation source, BookmarkCounts totals,
                                 ProgressSink& exportProgress, Platform& platform,
                                 SessionState& session, QWidget* owner)
    : QMainWindow(owner, Qt::Window), ui_(std::make_unique<Ui::Form3>()),
      source_(std::move(source)), totals_(totals), exportProgress_(exportProgress),
      platform_(platform), session_(session) {
    ui_->setupUi(this);
    setWindowIcon(ProgramIcon());
    SetUpViews();
    ConnectCommands();
}

SelectionWindow::~SelectionWindow() {
    // The views let go of the models before the tree the models show goes.
    ui_->TreeView1->setModel(nullptr);
    ui_->ListView1->setModel(nullptr);
    if (!unloaded_) {
        SaveWindowSettings(kSelectionWindowKind, WidgetControls(*this), platform_);
    }
}

void SelectionWindow::SetUpViews() {
    treeModel_ = new FolderTreeModel(tree_, images_, this);
    rowsModel_ = new FolderRowsModel(tree_, images_, this);
    ui_->TreeView1->setModel(treeModel_);
    ui_->ListView1->setModel(rowsModel_);
    ui_->ListView1->header()->setSectionsClickable(true);
    ui_->ListView1->header()->setStretchLastSection(false);
    ui_->TreeView1->viewport()->installEventFilter(this);
    ui_->ListView1->viewport()->installEventFilter(this);

    foldersPanel_ = new QLabel(this);
    foldersPanel_->setToolTip(QStringLiteral("Selected Folders / Total Folders"));
    linksPanel_ = new QLabel(this);
    linksPanel_->setToolTip(QStringLiteral("Selected Links / Total Links"));
    ui_->StatusBar1->addWidget(foldersPanel_, 1);
    ui_->StatusBar1->addWidget(linksPanel_, 1);

    treeModel_->onCheck = [this](std::int32_t node, bool checked) {
        RunFolderCommand(node, checked);
    };
    rowsModel_->onCheck = [this](std::int32_t row, bool checked) { RunRowCommand(row, checked); };
}

void SelectionWindow::ConnectCommands() {
    connect(ui_->TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    NodeClick(treeModel_->NodeOf(current));
                }
            });
    connect(ui_->ListView1, &QAbstractItemView::doubleClicked, this,
            &SelectionWindow::ListDoubleClick);
    connect(ui_->ListView1->header(), &QHeaderView::sectionClicked, this,
            &SelectionWindow::HeaderClick);
    connect(ui_->Command2, &QPushButton::clicked, this, &SelectionWindow::Confirm);
    connect(ui_->mnuFileConfirm, &QAction::triggered, this, &SelectionWindow::Confirm);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->mnuFileExit, &QAction::triggered, this, &QWidget::close);

    connect(ui_->mnuFolderS, &QMenu::aboutToShow, this,
            [this] { EnableFolderItems(SelectedFolder()); });
    const auto onSelected = [this](bool checked, bool onlyWhenChanging) {
        auto folder = SelectedFolder();
        if (folder >= 0 && !(onlyWhenChanging && tree_.Node(folder).Checked == checked)) {
            RunFolderCommand(folder, checked);
        }
    };
    connect(ui_->mnuFoldersCheck, &QAction::triggered, this, [=] { onSelected(true, true); });
    connect(ui_->mnuFoldersUncheck, &QAction::triggered, this, [=] { onSelected(false, true); });
    connect(ui_->mnuLinksCheckAll, &QAction::triggered, this, [=] { onSelected(true, false); });
    connect(ui_->mnuLinksUncheckAll, &QAction::triggered, this, [=] { onSelected(false, true); });
    const auto withSubs = [this](bool checked) {
        auto folder = SelectedFolder();
        if (folder >= 0) {
            RunWideCommand(
                [this, folder, checked] { selection_.SetFolderAndSubsChecked(folder, checked); });
        }
    };
    connect(ui_->mnuFoldersCheckAllSubs, &QAction::triggered, this, [=] { withSubs(true); });
    connect(ui_->mnuFoldersUncheckAllSubs, &QAction::triggered, this, [=] { withSubs(false); });
    const auto everyFolder = [this](bool checked) {
        if (tree_.HasRoot()) {
            repaint();
            RunWideCommand([this, checked] { selection_.SetAllFoldersChecked(checked); });
        }
    };
    connect(ui_->mnuFoldersCheckAll, &QAction::triggered, this, [=] { everyFolder(true); });
    connect(ui_->mnuFoldersUncheckAll, &QAction::triggered, this, [=] { everyFolder(false); });
    connect(ui_->mnuFoldersExpandAll, &QAction::triggered, ui_->TreeView1, &QTreeView::expandAll);
    connect(ui_->mnuFoldersCollapseAll, &QAction::triggered, this, [this] {
        ui_->TreeView1->collapseAll();
        ui_->TreeView1->expand(treeModel_->IndexOf(0));
    });
    connect(ui_->mnuLinksCheck, &QAction::triggered, this, [this] { CheckSelectedRows(true); });
    connect(ui_->mnuLinksUncheck, &QAction::triggered, this, [this] { CheckSelectedRows(false); });

    findPause_.setSingleShot(true);
    findPause_.setInterval(kFindPauseMilliseconds);
    connect(&findPause_, &QTimer::timeout, this, &SelectionWindow::ShowFound);
    // The first keystroke prepares the search, so that the pause after the
    // last one is all the user waits for.
    connect(ui_->txtFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) {
            PrepareSearch();
        }
        findPause_.start();
    });
    connect(ui_->txtFind, &QLineEdit::returnPressed, this, &SelectionWindow::ShowFound);
    connect(ui_->cmdCheckFound, &QPushButton::clicked, this, &SelectionWindow::CheckAllFound);
}

bool SelectionWindow::LoadTree(const WorkRunner& run) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    unloaded_ = false;
    sort_ = ListSort{};
    rowsModel_->ShowSortMark(sort_.nSortColumn, sort_.MarkImage());
    WidgetControls controls(*this);
    LoadWindowSettings(kSelectionWindowKind, controls, platform_, session_);
    ForgetSearch();

    BookmarkTree built;
    built.SetKeepIcons(true);
    bool read = false;
    auto load = [&](ProgressSink& progress) {
        ProgressStart(progress, totals_.folders);
        read = static_cast<bool>(LoadSourceTree(source_, built, &progress));
        ProgressEnd(progress, totals_.folders);
    };
    bool ran = true;
    if (run) {
        ran = run(load);
    } else {
        load(exportProgress_);
    }
    const bool loaded = ran && read;
    if (loaded) {
        tree_ = std::move(built);
    }
    images_.Clear();
    treeModel_->Reload();
    if (loaded) {
        ui_->TreeView1->expand(treeModel_->IndexOf(0));
        SelectFolder(0);
    }
    StatusBarRefresh();
    return loaded;
}

void SelectionWindow::StatusBarRefresh() {
    foldersPanel_->setText(QStringLiteral("Selected Folders: %1 of %2")
                               .arg(tree_.nSelectedFolders)
                               .arg(totals_.folders));
    linksPanel_->setText(
        QStringLiteral("Selected Links: %1 of %2").arg(tree_.nSelectedLinks).arg(totals_.links));
}

void SelectionWindow::SelectFolder(std::int32_t folder) {
    for (auto at = tree_.Parent(folder); at >= 0; at = tree_.Parent(at)) {
        ui_->TreeView1->expand(treeModel_->IndexOf(at));
    }
    auto shown = treeModel_->IndexOf(folder);
    if (ui_->TreeView1->currentIndex() == shown) {
        NodeClick(folder);
    } else {
        ui_->TreeView1->setCurrentIndex(shown);
    }
    ui_->TreeView1->scrollTo(shown);
}

void SelectionWindow::NodeClick(std::int32_t folder) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    tree_.EnsureListed(folder);
    rowsModel_->ShowFolder(folder, ListOrder(folder));
    FitColumns(); // a new listing starts the header afresh
}

void SelectionWindow::FitColumns() {
    // The date takes the width of its title or its longest text (at least
    // the header's least width of a column); name and address share the
    // rest of the list's width.
    auto* header = ui_->ListView1->header();
    const int width = ui_->ListView1->viewport()->width();
    const int dateWidth =
        std::max({header->sectionSizeHint(2),
                  static_cast<QAbstractItemView*>(ui_->ListView1)->sizeHintForColumn(2),
                  header->minimumSectionSize()});
    const int share = (width - dateWidth) / 2;
    header->resizeSection(0, share);
    header->resizeSection(1, share);
    header->resizeSection(2, width - 2 * share);
}

std::int32_t SelectionWindow::SelectedFolder() const {
    return treeModel_->NodeOf(ui_->TreeView1->currentIndex());
}

void SelectionWindow::RunFolderCommand(std::int32_t folder, bool checked) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    selection_.SetFolderChecked(folder, checked);
    treeModel_->ShowChanged(folder);
    rowsModel_->ShowChecksChanged();
    StatusBarRefresh();
}

void SelectionWindow::RunRowCommand(std::int32_t row, bool checked) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    const auto folder = rowsModel_->Folder();
    selection_.SetRowChecked(folder, row, checked);
    const auto& entry = tree_.Rows(folder)[static_cast<std::size_t>(row)];
    treeModel_->ShowChanged(entry.IsLink() ? folder : entry.nFolder);
    rowsModel_->ShowChecksChanged();
    StatusBarRefresh();
}

void SelectionWindow::RunWideCommand(const std::function<void()>& command) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    command();
    treeModel_->ShowAllChanged();
    rowsModel_->ShowChecksChanged();
    StatusBarRefresh();
}

void SelectionWindow::CheckSelectedRows(bool checked) {
    std::vector<std::int32_t> rows;
    for (const auto& index : ui_->ListView1->selectionModel()->selectedRows()) {
        rows.push_back(rowsModel_->RowAt(index.row()));
    }
    const auto folder = rowsModel_->Folder();
    if (folder >= 0 && !rows.empty()) {
        RunWideCommand([&] { selection_.SetRowsChecked(folder, rows, checked); });
    }
}

void SelectionWindow::EnableFolderItems(std::int32_t folder) {
    const bool known = folder >= 0;
    const bool checked = known && tree_.Node(folder).Checked;
    const bool hasSubs = known && tree_.Children(folder) > 0;
    ui_->mnuFoldersCheck->setEnabled(known && !checked);
    ui_->mnuFoldersUncheck->setEnabled(checked);
    ui_->mnuFoldersCheckAllSubs->setEnabled(hasSubs);
    ui_->mnuFoldersUncheckAllSubs->setEnabled(hasSubs);
    for (auto* item : {ui_->mnuFoldersCheck, ui_->mnuFoldersCheckAllSubs, ui_->mnuFoldersUncheck,
                       ui_->mnuFoldersUncheckAllSubs, ui_->mnuFoldersSpearator}) {
        item->setVisible(known);
    }
}

void SelectionWindow::ShowFolderPopup(const QPoint& where) {
    // The folder under the mouse becomes the selected one, so that the
    // menu's commands act on the folder its items were enabled for.
    auto hit = ui_->TreeView1->indexAt(where);
    if (hit.isValid()) {
        ui_->TreeView1->setCurrentIndex(hit);
    }
    auto* menu = ui_->mnuFolderS;
    auto connection = connect(menu, &QMenu::aboutToShow, this,
                              [this, hit] { EnableFolderItems(treeModel_->NodeOf(hit)); });
    menu->exec(ui_->TreeView1->viewport()->mapToGlobal(where));
    disconnect(connection);
}

void SelectionWindow::ShowLinksPopup(const QPoint& where) {
    ui_->mnuLinks->exec(ui_->ListView1->viewport()->mapToGlobal(where));
}

void SelectionWindow::ListDoubleClick(const QModelIndex& index) {
    const auto& entry =
        tree_.Rows(rowsModel_->Folder())[static_cast<std::size_t>(rowsModel_->RowAt(index.row()))];
    if (entry.IsLink()) {
        platform_.ShellOpen(std::string(entry.sURL), kShowMaximized);
    } else {
        SelectFolder(entry.nFolder);
    }
}

void SelectionWindow::HeaderClick(int section) {
    sort_.ClickHeader(section + 1);
    rowsModel_->ShowSortMark(sort_.nSortColumn, sort_.MarkImage());
    if (rowsModel_->Folder() >= 0) {
        rowsModel_->ShowOrder(ListOrder(rowsModel_->Folder()));
    }
}

std::vector<std::int32_t> SelectionWindow::ListOrder(std::int32_t folder) const {
    auto order = sort_.Order(tree_, folder);
    return searching_ ? FoundRows(tree_, found_, folder, std::move(order)) : order;
}

void SelectionWindow::ShowFound() {
    findPause_.stop();
    const auto text = ui_->txtFind->text().toStdString();
    if (text.empty() || !tree_.HasRoot()) {
        ShowEverything();
        return;
    }
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    PrepareSearch();
    const auto current = SelectedFolder();
    found_ = filter_->Find(text);
    searching_ = true;
    treeModel_->ShowOnly(found_.shown);
    ui_->cmdCheckFound->setEnabled(!found_.Empty());
    if (found_.Empty()) {
        ui_->lblFound->setText(QStringLiteral("Nothing found"));
        rowsModel_->ShowFolder(-1, {});
        return;
    }
    const auto counted = [](qsizetype count, const char* noun) {
        return QStringLiteral("%1 %2%3").arg(count).arg(noun).arg(count == 1 ? "" : "s");
    };
    ui_->lblFound->setText(QStringLiteral("Found ") + counted(found_.folders.size(), "folder") +
                           QStringLiteral(", ") + counted(found_.links, "link"));
    if (std::count(found_.shown.begin(), found_.shown.end(), true) <= kMostOpenedFolders) {
        ui_->TreeView1->expandAll();
    }
    // The folder shown before stays when the search found something in it.
    SelectFolder(found_.Of(current) != nullptr ? current : found_.folders.front().folder);
}

void SelectionWindow::PrepareSearch() {
    if (filter_ || !tree_.HasRoot()) {
        return;
    }
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    ProgressStart(exportProgress_, tree_.NodeCount());
    filter_ =
        std::make_unique<SelectionFilter>(tree_, std::span<const std::int32_t>(), exportProgress_);
    ProgressEnd(exportProgress_, tree_.NodeCount());
}

void SelectionWindow::ShowEverything() {
    ui_->lblFound->clear();
    ui_->cmdCheckFound->setEnabled(false);
    if (!searching_) {
        return;
    }
    const auto current = SelectedFolder();
    searching_ = false;
    found_ = {};
    treeModel_->Reload();
    ui_->TreeView1->expand(treeModel_->IndexOf(0));
    SelectFolder(std::max(current, 0));
}

void SelectionWindow::CheckAllFound() {
    if (searching_ && !found_.Empty()) {
        RunWideCommand([this] { CheckFound(selection_, found_); });
    }
}

void SelectionWindow::ForgetSearch() {
    ui_->txtFind->clear();
    findPause_.stop();
    searching_ = false;
    found_ = {};
    filter_.reset();
    ui_->lblFound->clear();
    ui_->cmdCheckFound->setEnabled(false);
}

void SelectionWindow::Confirm() {
    exportProgress_.SetStatusText("Ready");
    hide();
    emit Confirmed();
}

void SelectionWindow::closeEvent(QCloseEvent* event) {
    Unload();
    event->accept();
}

void SelectionWindow::Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    SaveWindowSettings(kSelectionWindowKind, WidgetControls(*this), platform_);
    rowsModel_->ShowFolder(-1, {});
    ForgetSearch();
    tree_.Clear();
    images_.Clear();
    treeModel_->Reload();
    emit Unloaded();
}

bool SelectionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->TreeView1->viewport() && IsRightButtonRelease(event)) {
        ShowFolderPopup(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    if (watched == ui_->ListView1->viewport() && IsRightButtonRelease(event)) {
        ShowLinksPopup(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    // The list's inside gets its width after the list itself, when the
    // window is shown or resized: the columns are fitted to that width.
    if (watched == ui_->ListView1->viewport() && event->type() == QEvent::Resize) {
        FitColumns();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tellavin
