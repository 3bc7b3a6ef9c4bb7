#include "gui/export/export_window.h"

#include "gui/export/refusal_focus.h"
#include "gui/export/what_to_export.h"
#include "gui/windows/busy_cursor.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "gui/windows/hover_help.h"
#include "gui/windows/widget_controls.h"
#include "gui/windows/widget_progress.h"
#include "settings/window_placement.h"
#include "settings/window_settings.h"
#include "sources/source_loader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <thread>
#include <vector>

namespace tellavin {

namespace {

QStringList Lines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const auto& line : lines) {
        out.append(QString::fromStdString(line));
    }
    return out;
}

// An export window is announced as the dialog it is, not as a plain
// widget's filler.
QAccessibleInterface* ExportWindowAccessible(const QString&, QObject* object) {
    if (auto* window = qobject_cast<ExportWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Dialog);
    }
    return nullptr;
}

} // namespace

ExportWindow::ExportWindow(ConversionPath code, SessionState& session, Platform& platform,
                           Dialogs& dialogs, QWidget& owner)
    : QWidget(&owner, Qt::Window), code_(code), session_(session), platform_(platform),
      dialogs_(dialogs) {
    session_.code = code;
    // Installed once: Qt asks each factory about every object it announces.
    [[maybe_unused]] static const bool announcedAsDialogs =
        (QAccessible::installFactory(ExportWindowAccessible), true);
}

ExportWindow::~ExportWindow() = default;

void ExportWindow::SetUpCommon(QStatusBar& statusLine, QProgressBar& bar, QTabWidget& tabs) {
    statusLine_ = &statusLine;
    tabs_ = &tabs;
    tabs.setAccessibleName(QStringLiteral("Pages of the window"));
    setWindowIcon(ProgramIcon());
    statusLine.addWidget(&bar, 1);
    bar.hide();
    cancelWork_ = new QPushButton(QStringLiteral("Cancel"), &statusLine);
    cancelWork_->setObjectName(QStringLiteral("cmdCancelWork"));
    cancelWork_->setAccessibleDescription(QStringLiteral("Stops the work under way"));
    statusLine.addPermanentWidget(cancelWork_);
    cancelWork_->hide();
    connect(cancelWork_, &QPushButton::clicked, this, [this] {
        if (work_ != nullptr) {
            work_->Cancel();
        }
    });
    progress_ = std::make_unique<WidgetProgress>(statusLine, bar);
    hoverHelp_ = new HoverHelp(*this, statusLine, QString());
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &ExportWindow::EscapePressed);
}

void ExportWindow::LoadSettings(PresetList* presets) {
    presets_ = presets;
    WidgetControls controls(*this);
    LoadWindowSettings(code_, controls, platform_, session_, presets_);
    // Before the window is shown its frame is not known, and the place
    // given is taken for the inside's: it is kept for the frame.
    framePlace_ = geometry().topLeft();
}

bool ExportWindow::RunBusy(const std::function<void(ProgressSink&)>& work, bool cancellable) {
    cMouse mouse;
    mouse.SetPointer(Qt::BusyCursor);
    WorkerProgress relay(*progress_);
    // Every control but the status line, which holds the bar and Cancel,
    // rests until the work ends; the focus then comes back where it was.
    const QPointer<QWidget> focus = focusWidget();
    std::vector<QPointer<QWidget>> rested;
    for (auto* control : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control != statusLine_ && control->isEnabled()) {
            control->setEnabled(false);
            rested.emplace_back(control);
        }
    }
    cancelWork_->setEnabled(cancellable);
    cancelWork_->show();
    work_ = &relay;
    QEventLoop waiting;
    connect(&relay, &WorkerProgress::Ended, &waiting, &QEventLoop::quit, Qt::QueuedConnection);
    std::thread worker([&] {
        work(relay);
        emit relay.Ended();
    });
    waiting.exec();
    worker.join();
    relay.Deliver();
    work_ = nullptr;
    cancelWork_->hide();
    for (const auto& control : rested) {
        if (control) {
            control->setEnabled(true);
        }
    }
    if (focus) {
        focus->setFocus();
    }
    if (closeAfterWork_) {
        // Once the caller has taken the work's result.
        QTimer::singleShot(0, this, &QWidget::close);
    }
    return !relay.Cancelled();
}

WorkRunner ExportWindow::BusyRunner() {
    return [this](const std::function<void(ProgressSink&)>& work) { return RunBusy(work); };
}

std::optional<BookmarkCounts> ExportWindow::CountWithProgress(const StoreLocation& source) {
    SourceCount counted;
    // A count reads its source to the end, so there is nothing to cancel.
    RunBusy(
        [&](ProgressSink& progress) {
            counted = CountSource(source, [&progress](const std::string& folder) {
                progress.SetStatusText("Searching Folder: " + folder);
            });
        },
        false);
    SetStatus(QStringLiteral("Ready"));
    return counted.read ? std::optional(counted.counts) : std::nullopt;
}

void ExportWindow::ShowRefusal(const Outcome& refusal, const UserMessage& message) {
    dialogs_.Message(this, message.icon, QString::fromStdString(message.title),
                     Lines(message.lines));
    const auto after = FocusAfter(refusal);
    if (!after.emptiedList.isEmpty()) {
        if (auto* list = findChild<QComboBox*>(after.emptiedList)) {
            list->setToolTip(QString());
            list->setCurrentIndex(0);
        }
    }
    if (after.showFirstTab) {
        tabs_->setCurrentIndex(0);
    }
    if (!after.whatCaption.isEmpty()) {
        if (auto* frame = findChild<QGroupBox*>(QString::fromLatin1(kWhatFrameControl))) {
            frame->setTitle(after.whatCaption);
        }
    }
    if (auto* focus = after.focus.isEmpty() ? nullptr : findChild<QWidget*>(after.focus)) {
        focus->setFocus();
    }
}

void ExportWindow::RefuseNotSelected(const QString& text, const char* list, MessageIcon icon) {
    dialogs_.Message(this, icon, QStringLiteral("Bookmark File Not Selected"), {text});
    tabs_->setCurrentIndex(0);
    if (auto* box = findChild<QWidget*>(QString::fromLatin1(list))) {
        box->setFocus();
    }
}

void ExportWindow::SetUpWhatToExport(QGroupBox& frame, QAbstractButton& all,
                                     QAbstractButton& selected) {
    what_ = new WhatToExport(frame, all, selected, platform_, session_, *this);
    connect(what_, &WhatToExport::SelectionClosed, this,
            [this] { SetStatus(QStringLiteral("Ready")); });
}

void ExportWindow::TakeSourceCounts(const StoreLocation& source, BookmarkCounts counts) {
    what_->SetSource(source, counts);
    session_.nSourceFolders = counts.folders;
    session_.nSourceLinks = counts.links;
    SetStatus(QStringLiteral("Ready"));
}

void ExportWindow::OpenSelection(const StoreLocation& source, const StoreLocation& target) {
    ExportCheckInput input;
    input.source = source;
    input.target = target;
    if (auto refusal = CheckBeforeExport(input, true, platform_)) {
        ShowRefusal(*refusal, MessageFor(*refusal));
        return;
    }
    what_->OpenSelection(*progress_, BusyRunner());
    SetStatus(QStringLiteral("Ready"));
}

ExportResult ExportWindow::RunExport(ConversionRequest request) {
    const bool selected = !what_->ExportsAll() && what_->SelectedTree() != nullptr;
    BookmarkTree selection;
    if (selected) {
        selection = what_->TakeSelectedTree();
        request.tree = &selection;
        request.options.exportAll = false;
    }
    ExportResult result;
    RunBusy([&](ProgressSink& progress) { result = RunConversion(request, platform_, progress); });
    if (selected) {
        what_->GiveBackSelectedTree(std::move(selection));
    }
    SetStatus(result.outcome.kind == OutcomeKind::Cancelled ? QStringLiteral("Exporting Cancelled")
                                                            : QStringLiteral("Ready"));
    return result;
}

bool ExportWindow::CheckAndExport(ConversionRequest request,
                                  const std::function<bool()>& showWritten,
                                  const QString& notShown) {
    auto result = RunExport(request);
    // Replacing a file that holds many more links than the export leaves
    // is asked about, No by default; No writes nothing at all.
    if (result.outcome.kind == OutcomeKind::ReplacesLarger) {
        auto question = MessageFor(result.outcome);
        if (!dialogs_.Question(this, QString::fromStdString(question.title), Lines(question.lines),
                               true)) {
            return false;
        }
        request.options.force = true;
        result = RunExport(request);
    }
    // The user who cancelled knows; the status line says it was.
    if (result.outcome.kind == OutcomeKind::Cancelled) {
        return false;
    }
    if (!result.ok) {
        ShowRefusal(result.outcome, result.message);
        return false;
    }
    if (!showWritten || !showWritten()) {
        // What could not be carried over is listed behind the details button.
        QStringList lines;
        if (showWritten) {
            lines.append(notShown);
        }
        lines.append(QStringLiteral("%1 Folders & %2 Links Exported Successfully.")
                         .arg(result.nFoldersWritten)
                         .arg(result.nLinksWritten));
        if (auto merged = result.MergeSummary(); !merged.empty()) {
            lines.append(QString::fromStdString(merged) + QStringLiteral("."));
        }
        lines.append(Lines(result.advice));
        dialogs_.Message(this, MessageIcon::Information, QStringLiteral("Exporting Complete"),
                         lines, Lines(result.losses.Lines()));
    }
    if (!result.Complete()) {
        QStringList lines;
        if (result.nLinksNotWritten > 0) {
            lines.append(
                QStringLiteral("%1 Links Could Not Be Written.").arg(result.nLinksNotWritten));
        }
        if (result.nUnreadableFolders > 0) {
            lines.append(
                QStringLiteral("%1 Folders Could Not Be Read.").arg(result.nUnreadableFolders));
        }
        if (!result.sFirstFailure.empty()) {
            lines.append(QStringLiteral("The first: ") +
                         QString::fromStdString(result.sFirstFailure));
        }
        dialogs_.Message(this, MessageIcon::Exclamation, QStringLiteral("Exporting Incomplete"),
                         lines);
    }
    return true;
}

void ExportWindow::SetStatus(const QString& text) {
    statusLine_->showMessage(text);
}

void ExportWindow::EscapePressed() {
    if (work_ == nullptr) {
        close();
    } else if (cancelWork_->isEnabled()) {
        work_->Cancel();
    }
}

void ExportWindow::closeEvent(QCloseEvent* event) {
    if (work_ != nullptr) {
        // The work ends first, and its file is never left half written: it
        // is asked to stop, and the window closes once it ended.
        if (cancelWork_->isEnabled()) {
            work_->Cancel();
        }
        closeAfterWork_ = true;
        event->ignore();
        return;
    }
    SaveWindowSettings(code_, WidgetControls(*this), platform_, presets_);
    if (what_ != nullptr) {
        what_->DiscardSelection();
    }
    event->accept();
}

// The window is placed once it is shown with its real size: a window
// manager frames it only then, and until it has, the window's frame and its
// inside are one.
void ExportWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_ && windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
    }
}

bool ExportWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!placed_ && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        placed_ = true;
        windowHandle()->removeEventFilter(this);
        PlaceFramed();
    }
    return QWidget::eventFilter(watched, event);
}

// The frame goes to its remembered place, brought onto the nearest screen
// so that its title bar can be reached.
void ExportWindow::PlaceFramed() {
    const QMargins frame = windowHandle()->frameMargins();
    const QRect framed(framePlace_, size().grownBy(frame));
    std::vector<WindowRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    if (screens.empty()) {
        return;
    }
    const auto nearest = NearestArea({framed.x(), framed.y()}, screens);
    const auto place =
        BroughtOnto({framed.x(), framed.y(), framed.width(), framed.height()}, screens[nearest]);
    setGeometry(QRect(QPoint(place.left + frame.left(), place.top + frame.top()), size()));
}

QString NewFolderName(const QString& prefix) {
    return prefix + QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat) +
           QStringLiteral(")");
}

} // namespace tellavin
