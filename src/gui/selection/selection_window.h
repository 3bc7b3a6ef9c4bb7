#pragma once

#include "gui/selection/image_list.h"
#include "gui/windows/worker_progress.h"
#include "model/bookmark_counts.h"
#include "model/bookmark_tree.h"
#include "model/conversion_path.h"
#include "selection/list_order.h"
#include "selection/selection_filter.h"
#include "selection/selection_model.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

namespace Ui {
class Form3;
}

class QLabel;

namespace tellavin {

class FolderRowsModel;
class FolderTreeModel;
class Platform;
class ProgressSink;
struct SessionState;

// The window in which the user picks the folders and links to export: the
// source's folders in a tree on the left, the selected folder's rows in a
// list on the right, both with check boxes. It owns the bookmark tree: it
// builds it when it loads, keeps it while hidden after "Confirm Selection"
// so that the export can read the checks, and empties it when it closes.
//
// The Find box above the views narrows both to what a search finds (a
// short pause after the last keystroke): the folders whose names, and the
// links whose names or addresses, hold the text, with the folders above
// them; "Check All Found" checks those. The first search lists every
// folder and folds all names and addresses once (SelectionFilter), which
// the window keeps until its tree goes.
class SelectionWindow : public QMainWindow {
    Q_OBJECT

public:
    // totals are the source's counts that the export window found; its
    // progress bar and status line show the loading.
    SelectionWindow(StoreLocation source, BookmarkCounts totals, ProgressSink& exportProgress,
                    Platform& platform, SessionState& session, QWidget* owner = nullptr);
    ~SelectionWindow() override;

    // Builds the tree from the source, selects the root and lists it; false
    // when the source cannot be read or the load was cancelled (the tree is
    // then empty). The tree is built apart, by run when given (on a worker
    // thread), else here, and moved in whole once built.
    bool LoadTree(const WorkRunner& run = {});

    BookmarkTree& Tree() { return tree_; }

    // Rewrites both panels of the status bar.
    void StatusBarRefresh();
    // Selects a folder in the tree and lists its rows.
    void SelectFolder(std::int32_t folder);

signals:
    // The user confirmed the selection; the window is hidden, its tree kept.
    void Confirmed();
    // The window closed and emptied its tree.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpViews();
    void ConnectCommands();
    void NodeClick(std::int32_t folder);
    void FitColumns();
    std::int32_t SelectedFolder() const;
    // Runs a command that changed checks and shows what it changed.
    void RunFolderCommand(std::int32_t folder, bool checked);
    void RunRowCommand(std::int32_t row, bool checked);
    void RunWideCommand(const std::function<void()>& command);
    void CheckSelectedRows(bool checked);
    void EnableFolderItems(std::int32_t folder);
    void ShowFolderPopup(const QPoint& where);
    void ShowLinksPopup(const QPoint& where);
    void ListDoubleClick(const QModelIndex& index);
    void HeaderClick(int section);
    // The folder's rows in the list's sort; only those found while a search
    // narrows the views.
    std::vector<std::int32_t> ListOrder(std::int32_t folder) const;
    // Lists every folder and folds the texts the search looks through, once.
    void PrepareSearch();
    void ShowFound();
    void ShowEverything();
    void CheckAllFound();
    void ForgetSearch();
    void Confirm();
    void Unload();

    std::unique_ptr<Ui::Form3> ui_;
    StoreLocation source_;
    BookmarkCounts totals_;
    ProgressSink& exportProgress_;
    Platform& platform_;
    SessionState& session_;
    BookmarkTree tree_;
    SelectionModel selection_{tree_};
    ImageList images_{tree_};
    ListSort sort_;
    FolderTreeModel* treeModel_ = nullptr;
    FolderRowsModel* rowsModel_ = nullptr;
    QLabel* foldersPanel_ = nullptr;
    QLabel* linksPanel_ = nullptr;
    bool unloaded_ = false;
    QTimer findPause_;
    std::unique_ptr<SelectionFilter> filter_; // made by the first search
    bool searching_ = false;                  // the views show only found_
    SearchResult found_;
};

} // namespace tellavin
