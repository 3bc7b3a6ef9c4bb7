#include "gui/shell/path_window_factory.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

namespace tellavin {
namespace {

// What a screen reader would announce for a control: its accessible name,
// else a button's caption without its mnemonic mark.
QString AnnouncedName(const QWidget& control) {
    if (!control.accessibleName().isEmpty()) {
        return control.accessibleName();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text().remove(QLatin1Char('&'));
    }
    return {};
}

// Every control a keyboard user can reach in each path window, on each
// tab, has a name to announce.
TEST(ExportWindowsAccess, EveryReachableControlHasAName) {
    for (ConversionPath code : {2, 4, 5, 6, 7, 8, 9, 10, 11}) {
        SCOPED_TRACE(code);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "tellavin";
        test::AnsweredDialogs dialogs;
        SessionState session;
        QWidget owner;
        std::unique_ptr<QWidget> window(
            CreatePathWindow(code, session, owner, platform, dialogs.service()));
        window->show();
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
        ASSERT_NE(tabs, nullptr);
        QStringList unnamed;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            for (auto* control : window->findChildren<QWidget*>()) {
                const bool reachable = (control->focusPolicy() & Qt::TabFocus) != 0 &&
                                       control->isVisibleTo(window.get()) && control->isEnabled() &&
                                       control != static_cast<QWidget*>(tabs->tabBar());
                if (reachable && AnnouncedName(*control).trimmed().isEmpty() &&
                    !unnamed.contains(control->objectName())) {
                    unnamed.append(control->objectName());
                }
            }
        }
        EXPECT_EQ(unnamed.join(' ').toStdString(), "");
        window->close();
    }
}

// A screen reader announces each path window as a dialog, by its title.
TEST(ExportWindowsAccess, EachWindowIsAnnouncedAsADialog) {
    for (ConversionPath code : {2, 4, 5, 6, 7, 8, 9, 10, 11}) {
        SCOPED_TRACE(code);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "tellavin";
        test::AnsweredDialogs dialogs;
        SessionState session;
        QWidget owner;
        std::unique_ptr<QWidget> window(
            CreatePathWindow(code, session, owner, platform, dialogs.service()));
        window->show();
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(window.get());
        ASSERT_NE(announced, nullptr);
        EXPECT_EQ(std::pair(announced->role(), announced->text(QAccessible::Name).toStdString()),
                  std::pair(QAccessible::Dialog, window->windowTitle().toStdString()));
        window->close();
    }
}

} // namespace
} // namespace tellavin
