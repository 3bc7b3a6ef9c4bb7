#include "gui/windows/dialogs.h"

#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QTextDocument>
#include <QTextEdit>

namespace tellavin {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The lines of a message are shown as they are: a path with "<" in it must
// not be taken for markup.
void FillBox(QMessageBox& box, const QString& title, const QStringList& lines) {
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(lines.join(QLatin1Char('\n')));
}

// Lines the details of a message show without scrolling.
constexpr int kDetailLines = 12;

// A message box whose details, once shown, list a dozen lines and grow
// with the box, which the user may then resize. QMessageBox fixes its size
// (and the details' height) when it shows them and each time it lays
// itself out; while they are shown, its layout requests only lay out the
// box, and the limits are lifted after its own fitting.
class DetailsBox final : public QMessageBox {
public:
    explicit DetailsBox(QWidget* owner) : QMessageBox(owner) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest && Details() != nullptr) {
            return QDialog::event(event);
        }
        return QMessageBox::event(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        QMessageBox::resizeEvent(event);
        LetResize();
    }

private:
    // The text of the details while they are shown.
    QTextEdit* Details() const {
        auto* details = findChild<QTextEdit*>();
        return details != nullptr && details->isVisibleTo(this) ? details : nullptr;
    }

    void LetResize() {
        auto* details = Details();
        setSizeGripEnabled(details != nullptr);
        if (details == nullptr) {
            return;
        }
        const QMargins margins = details->contentsMargins();
        details->setMinimumHeight(details->fontMetrics().lineSpacing() * kDetailLines +
                                  2 * static_cast<int>(details->document()->documentMargin()) +
                                  margins.top() + margins.bottom());
        details->setMaximumHeight(QWIDGETSIZE_MAX);
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            int row = 0;
            int column = 0;
            int rows = 0;
            int columns = 0;
            grid->getItemPosition(grid->indexOf(details->parentWidget()), &row, &column, &rows,
                                  &columns);
            grid->setRowStretch(row, 1);
        }
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // The box grows to its new least size once QMessageBox has finished
        // fitting it, which drops the layout request the new limits make.
        QMetaObject::invokeMethod(this, &DetailsBox::GrowToFit, Qt::QueuedConnection);
    }

    void GrowToFit() {
        setMinimumSize(layout()->totalMinimumSize());
        const QSize fitting = size().expandedTo(minimumSize());
        if (fitting != size()) {
            resize(fitting);
        }
    }
};

QString RunFileDialog(Dialogs& dialogs, QFileDialog& dialog) {
    if (dialogs.Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

Dialogs::Dialogs() : runner_([](QDialog& dialog) { return dialog.exec(); }) {}

Dialogs::Dialogs(Runner runner) : runner_(std::move(runner)) {}

int Dialogs::Run(QDialog& dialog) {
    return runner_(dialog);
}

void Dialogs::Message(QWidget* owner, MessageIcon icon, const QString& title,
                      const QStringList& lines, const QStringList& details) {
    DetailsBox box(owner);
    box.setIcon(BoxIcon(icon));
    FillBox(box, title, lines);
    if (!details.isEmpty()) {
        box.setDetailedText(details.join(QLatin1Char('\n')));
    }
    box.setStandardButtons(QMessageBox::Ok);
    Run(box);
}

bool Dialogs::Question(QWidget* owner, const QString& title, const QStringList& lines,
                       bool noByDefault) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::Question);
    FillBox(box, title, lines);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    if (noByDefault) {
        box.setDefaultButton(QMessageBox::No);
    }
    return Run(box) == QMessageBox::Yes;
}

std::optional<QString> Dialogs::Input(QWidget* owner, const QString& title, const QString& prompt,
                                      const QString& text) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    if (Run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<QColor> Dialogs::ChooseColor(QWidget* owner, const QString& title,
                                           const QColor& initial) {
    QColorDialog dialog(initial, owner);
    dialog.setWindowTitle(title);
    if (Run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.currentColor();
}

QString Dialogs::OpenFileName(QWidget* owner, const QString& title, const QString& initialPath,
                              const QString& filter) {
    QFileDialog dialog(owner, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(*this, dialog);
}

QString Dialogs::SaveFileName(QWidget* owner, const QString& title, const QString& initialPath,
                              const QString& filter) {
    QFileDialog dialog(owner, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(*this, dialog);
}

QString Dialogs::ChooseFolder(QWidget* owner, const QString& title, const QString& initialFolder) {
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return RunFileDialog(*this, dialog);
}

} // namespace tellavin
