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
#include <QGroupBox>
#include <QGuiApplication>
#include <QLocale>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>
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
    progress_ = std::make_unique<WidgetProgress>(statusLine, bar);
    hoverHelp_ = new HoverHelp(*this, statusLine, QString());
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void ExportWindow::LoadSettings(PresetList* presets) {
    presets_ = presets;
    WidgetControls controls(*this);
    LoadWindowSettings(code_, controls, platform_, session_, presets_);
    // Before the window is shown its frame is not known, and the place
    // given is taken for the inside's: it is kept for the frame.
    framePlace_ = geometry().topLeft();
}

void ExportWindow::RunBusy(const std::function<void()>& work) {
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    busy_ = true;
    work();
    busy_ = false;
}

std::optional<BookmarkCounts> ExportWindow::CountWithProgress(const StoreLocation& source) {
    SourceCount counted;
    RunBusy([&] {
        counted = CountSource(source, [this](const std::string& folder) {
            progress_->SetStatusText("Searching Folder: " + folder);
        });
    });
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
    RunBusy([this] { what_->OpenSelection(*progress_); });
    SetStatus(QStringLiteral("Ready"));
}

bool ExportWindow::CheckAndExport(ConversionRequest request,
                                  const std::function<bool()>& showWritten,
                                  const QString& notShown) {
    if (!what_->ExportsAll() && what_->SelectedTree() != nullptr) {
        request.tree = what_->SelectedTree();
        request.options.exportAll = false;
    }
    ExportResult result;
    RunBusy([&] { result = RunConversion(request, platform_, *progress_); });
    SetStatus(QStringLiteral("Ready"));
    // Replacing a file that holds many more links than the export leaves
    // is asked about, No by default; No writes nothing at all.
    if (result.outcome.kind == OutcomeKind::ReplacesLarger) {
        auto question = MessageFor(result.outcome);
        if (!dialogs_.Question(this, QString::fromStdString(question.title), Lines(question.lines),
                               true)) {
            return false;
        }
        request.options.force = true;
        RunBusy([&] { result = RunConversion(request, platform_, *progress_); });
        SetStatus(QStringLiteral("Ready"));
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

void ExportWindow::closeEvent(QCloseEvent* event) {
    if (busy_) {
        event->ignore(); // the work ends first; its file must not be left half written
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
