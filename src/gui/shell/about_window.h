#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmAbout;
}

namespace tellavin {

class Platform;

// The about box: the program's version, how many folders and links it has
// exported so far, and links to the maker's home page and mail address.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    AboutWindow(Platform& platform, QWidget* owner);
    ~AboutWindow() override;

private:
    void OpenLink(const QString& address);

    std::unique_ptr<Ui::frmAbout> ui_;
    Platform& platform_;
};

} // namespace tellavin
