#pragma once

#include "model/user_message.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace tellavin {

// Every modal box a window shows goes through one object of this class. It
// builds the real Qt dialog and hands it to a runner: the program's runner
// shows it modally, a GUI test's runner looks at the dialog, fills in an
// answer and returns a result code without opening a modal loop.
class Dialogs {
public:
    using Runner = std::function<int(QDialog&)>;

    // Shows every dialog modally with QDialog::exec.
    Dialogs();
    explicit Dialogs(Runner runner);

    // Runs a window of the program's own as a modal box.
    int Run(QDialog& dialog);

    // A message with a fixed title and one or more lines; details, when
    // there are any, are listed behind the box's "Show Details..." button.
    void Message(QWidget* owner, MessageIcon icon, const QString& title, const QStringList& lines,
                 const QStringList& details = {});
    // A Yes/No question; true only when the answer is Yes. Enter answers
    // Yes, or No when noByDefault.
    bool Question(QWidget* owner, const QString& title, const QStringList& lines,
                  bool noByDefault = false);
    // A line of text, or nothing when the user cancels.
    std::optional<QString> Input(QWidget* owner, const QString& title, const QString& prompt,
                                 const QString& text);
    std::optional<QColor> ChooseColor(QWidget* owner, const QString& title, const QColor& initial);
    // A file to read or to write, or an empty text when the user cancels.
    QString OpenFileName(QWidget* owner, const QString& title, const QString& initialPath,
                         const QString& filter);
    QString SaveFileName(QWidget* owner, const QString& title, const QString& initialPath,
                         const QString& filter);
    // An existing folder, or an empty text when the user cancels.
    QString ChooseFolder(QWidget* owner, const QString& title, const QString& initialFolder);

private:
    Runner runner_;
};

} // namespace tellavin
