#include "gui/export/what_to_export.h"

#include "gui/selection/selection_window.h"

#include <QAbstractButton>
#include <QGroupBox>

namespace tellavin {

WhatToExport::WhatToExport(QGroupBox& frame, QAbstractButton& all, QAbstractButton& selected,
                           Platform& platform, SessionState& session, QWidget& window)
    : QObject(&window), frame_(frame), all_(all), selected_(selected), platform_(platform),
      session_(session), window_(window) {
    connect(&all_, &QAbstractButton::clicked, this, &WhatToExport::ShowCounts);
    connect(&selected_, &QAbstractButton::clicked, this, &WhatToExport::ShowCounts);
}

WhatToExport::~WhatToExport() = default;

void WhatToExport::SetSource(const StoreLocation& source, BookmarkCounts totals) {
    source_ = source;
    totals_ = totals;
    DiscardSelection();
    all_.setChecked(true);
    ShowCounts();
}

void WhatToExport::OpenSelection(ProgressSink& progress, const WorkRunner& run) {
    bool ran = true;
    auto tracked = [&](const std::function<void(ProgressSink&)>& work) {
        ran = run(work);
        return ran;
    };
    if (!selection_) {
        selection_ = std::make_unique<SelectionWindow>(source_, totals_, progress, platform_,
                                                       session_, &window_);
        selection_->setWindowModality(Qt::WindowModal);
        connect(selection_.get(), &SelectionWindow::Confirmed, this, [this] {
            if (selection_->Tree().nSelectedLinks != 0) {
                selected_.setChecked(true);
            }
            ShowCounts();
            emit SelectionClosed();
        });
        connect(selection_.get(), &SelectionWindow::Unloaded, this, [this] {
            all_.setChecked(true);
            ShowCounts();
            emit SelectionClosed();
        });
        selection_->LoadTree(tracked);
    } else if (!selection_->Tree().HasRoot()) {
        selection_->LoadTree(tracked); // cancelled before: a fresh tree
    }
    if (!ran) {
        DiscardSelection();
        return;
    }
    selection_->show();
}

void WhatToExport::DiscardSelection() {
    selection_.reset();
}

bool WhatToExport::ExportsAll() const {
    return all_.isChecked();
}

BookmarkTree* WhatToExport::SelectedTree() const {
    return selection_ && selection_->Tree().HasRoot() ? &selection_->Tree() : nullptr;
}

BookmarkTree WhatToExport::TakeSelectedTree() {
    return std::move(selection_->Tree());
}

void WhatToExport::GiveBackSelectedTree(BookmarkTree tree) {
    selection_->Tree() = std::move(tree);
}

void WhatToExport::ShowCounts() {
    const bool all = ExportsAll() || !selection_;
    const auto folders = all ? totals_.folders : selection_->Tree().nSelectedFolders;
    const auto links = all ? totals_.links : selection_->Tree().nSelectedLinks;
    frame_.setTitle(
        QStringLiteral("What to Export: (%1 Folders && %2 Links)").arg(folders).arg(links));
}

} // namespace tellavin
