#pragma once

#include "gui/windows/worker_progress.h"
#include "model/bookmark_counts.h"
#include "model/conversion_path.h"

#include <QObject>
#include <memory>

class QAbstractButton;
class QGroupBox;
class QWidget;

namespace tellavin {

class BookmarkTree;
class Platform;
class SelectionWindow;
struct SessionState;

// The "What to Export" frame of an export window: everything, or the
// folders and links checked in the selection window, with the counts of
// the choice in the frame's caption. It owns the selection window; a new
// source discards it with its tree, so that a new selection starts afresh.
class WhatToExport : public QObject {
    Q_OBJECT

public:
    WhatToExport(QGroupBox& frame, QAbstractButton& all, QAbstractButton& selected,
                 Platform& platform, SessionState& session, QWidget& window);
    ~WhatToExport() override;

    // A source was counted: its totals, the selection discarded.
    void SetSource(const StoreLocation& source, BookmarkCounts totals);
    const BookmarkCounts& Totals() const { return totals_; }

    // Opens the selection window on the source, its tree loaded by run
    // with progress on the export window; Selected follows its
    // confirmation. A cancelled load opens nothing.
    void OpenSelection(ProgressSink& progress, const WorkRunner& run);
    // Discards the selection window and its tree.
    void DiscardSelection();

    bool ExportsAll() const;
    // The confirmed selection, for an export of the selected folders and
    // links; nothing when there is none.
    BookmarkTree* SelectedTree() const;
    // Moves the confirmed selection's tree out, for work on it elsewhere,
    // and back; the selection window stays hidden meanwhile.
    BookmarkTree TakeSelectedTree();
    void GiveBackSelectedTree(BookmarkTree tree);

    // Rewrites the caption with the counts of the present choice.
    void ShowCounts();

signals:
    void SelectionClosed();

private:
    QGroupBox& frame_;
    QAbstractButton& all_;
    QAbstractButton& selected_;
    Platform& platform_;
    SessionState& session_;
    QWidget& window_;
    StoreLocation source_{StoreKind::Favorites, {}};
    BookmarkCounts totals_;
    std::unique_ptr<SelectionWindow> selection_;
};

} // namespace tellavin
