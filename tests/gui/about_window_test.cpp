#include "gui/shell/about_window.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

QLabel* Label(const QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

// A platform whose program, and so whose settings file, is in dir.
test::FakePlatform PlatformIn(const test::TempDir& dir) {
    test::FakePlatform platform;
    platform.executablePath = dir / "tellavin";
    return platform;
}

TEST(AboutWindow, ShowsVersionAndTotalAfterTheDesignTexts) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "tellavin.ini", "[Settings]\nTotalItemsExported=1234\n");
    test::FakePlatform platform = PlatformIn(dir);
    AboutWindow about(platform, nullptr);
    EXPECT_EQ(about.windowTitle(), "About - Tellavin");
    EXPECT_EQ(Label(about, "lblVersion")->text(), "Tellavin - Version 2.48");
    EXPECT_EQ(Label(about, "lblTotalItemsExported")->text(), "Total Exported Items: 1234");
    EXPECT_EQ(Label(about, "Label3")->text(), "Visit Our Home Page:");
    EXPECT_EQ(Label(about, "Label4")->text(), "Send an E-Mail To:");
    EXPECT_EQ(Label(about, "lblLink_0")->toolTip(), "Visit the Varnook website");
    EXPECT_EQ(Label(about, "lblLink_1")->toolTip(), "Send an E-Mail to Varnook");
    EXPECT_FALSE(Label(about, "imgLogoTL")->pixmap().isNull());
}

TEST(AboutWindow, TotalIsZeroBeforeTheFirstExport) {
    test::TempDir dir;
    test::FakePlatform platform = PlatformIn(dir);
    AboutWindow about(platform, nullptr);
    EXPECT_EQ(Label(about, "lblTotalItemsExported")->text(), "Total Exported Items: 0");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "tellavin.ini")) << "reading writes nothing";
}

TEST(AboutWindow, LinksOpenMaximisedThroughTheShell) {
    test::TempDir dir;
    test::FakePlatform platform = PlatformIn(dir);
    AboutWindow about(platform, nullptr);
    for (const char* name : {"lblLink_0", "lblLink_1"}) {
        QLabel* link = Label(about, name);
        const QString text = link->text();
        const qsizetype start = text.indexOf(QStringLiteral("href=\"")) + 6;
        emit link->linkActivated(text.mid(start, text.indexOf(QLatin1Char('"'), start) - start));
    }
    ASSERT_EQ(platform.opened.size(), 2u);
    EXPECT_EQ(platform.opened[0].rfind("https://", 0), 0u) << platform.opened[0];
    EXPECT_EQ(platform.opened[1].rfind("mailto:", 0), 0u) << platform.opened[1];
    EXPECT_EQ(platform.openedShowCommands, (std::vector<std::int32_t>{3, 3}));
}

TEST(AboutWindow, CloseEndsTheBox) {
    test::TempDir dir;
    test::FakePlatform platform = PlatformIn(dir);
    AboutWindow about(platform, nullptr);
    about.show();
    auto* close = about.findChild<QPushButton*>(QStringLiteral("cmdEsci"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "&Close");
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(AboutWindow, TextsAreCentredAndNothingIsCut) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "tellavin.ini", "[Settings]\nTotalItemsExported=987654\n");
    test::FakePlatform platform = PlatformIn(dir);
    AboutWindow about(platform, nullptr);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    const int middle = about.width() / 2;
    for (const char* name : {"imgLogoTL", "lblVersion", "lblTwinhelix", "lblTotalItemsExported"}) {
        QLabel* label = Label(about, name);
        SCOPED_TRACE(name);
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
        EXPECT_LE(std::abs(label->geometry().center().x() - middle), 1);
    }
    for (QLabel* label : about.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_GE(label->height(), label->sizeHint().height());
    }
}

} // namespace
} // namespace tellavin
