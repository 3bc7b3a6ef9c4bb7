#pragma once

#include <QObject>
#include <QString>
#include <string>

class QComboBox;
class QLabel;
class QWidget;

namespace tellavin {

class Dialogs;
class Platform;

// The menu window's list of menu pages: the page last used on top, at most
// five, each chosen one moved to the top. Its label says whether the chosen
// page exists already.
class MenuFileList : public QObject {
    Q_OBJECT

public:
    MenuFileList(QComboBox& box, QLabel& label, Dialogs& dialogs, const Platform& platform,
                 QWidget& window);

    // Chooses the top item; with an empty list, first adds defaultPage.
    void ChooseFirst(const std::string& defaultPage);
    // Takes a path the user typed as the chosen page, a leading "~" being
    // the user's home folder. Leaving the box or pressing Enter in it takes
    // what was typed.
    void TakeTypedText();
    // The save dialog.
    void Browse();
    // Says again whether the chosen page exists.
    void RefreshLabel();

    const std::string& Path() const { return path_; }

private:
    void Take(const QString& text);

    QComboBox& box_;
    QLabel& label_;
    Dialogs& dialogs_;
    const Platform& platform_;
    QWidget& window_;
    QString labelText_;
    std::string path_;
};

} // namespace tellavin
