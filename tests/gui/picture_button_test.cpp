#include "gui/windows/hover_help.h"
#include "gui/windows/picture_button.h"

#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

QPixmap Solid(Qt::GlobalColor color, QSize size = QSize(24, 16)) {
    QPixmap picture(size);
    picture.fill(color);
    return picture;
}

// A window with two picture buttons and a text box, each with its help text,
// and the hover pattern on its status line.
class PictureButtonTest : public ::testing::Test {
protected:
    PictureButtonTest() {
        window_.setCentralWidget(new QWidget);
        window_.setStatusBar(new QStatusBar);
        window_.resize(320, 140);
        first_ = MakeButton("first help", 10);
        second_ = MakeButton("second help", 110);
        text_ = new QLineEdit(window_.centralWidget());
        text_->setGeometry(210, 10, 90, 24);
        text_->setStatusTip("text help");
        cat_ = new HoverHelp(window_, *window_.statusBar(), "Idle");
        QObject::connect(window_.statusBar(), &QStatusBar::messageChanged,
                         [this](const QString& text) { messages_.push_back(text); });
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        // The focused button is drawn as the default one; keep the focus off
        // the buttons unless a test puts it there.
        text_->setFocus();
        MoveAway();
        messages_.clear();
    }

    PictureButton* MakeButton(const char* help, int left) {
        auto* button = new PictureButton(window_.centralWidget());
        button->setGeometry(left, 10, 80, 40);
        button->setStatusTip(help);
        button->SetPicture(normal_);
        button->SetHoverPicture(hover_);
        button->SetDownPicture(down_);
        return button;
    }

    void MoveAway() { QTest::mouseMove(window_.centralWidget(), QPoint(5, 120)); }

    QPixmap normal_ = Solid(Qt::red);
    QPixmap hover_ = Solid(Qt::green);
    QPixmap down_ = Solid(Qt::blue);
    QMainWindow window_;
    PictureButton* first_ = nullptr;
    PictureButton* second_ = nullptr;
    QLineEdit* text_ = nullptr;
    HoverHelp* cat_ = nullptr;
    std::vector<QString> messages_;
};

::testing::AssertionResult Shows(const PictureButton& button, PictureButton::Look look,
                                 const QPixmap& picture) {
    const auto appearance = button.CurrentAppearance();
    if (appearance.look != look) {
        return ::testing::AssertionFailure() << "look " << static_cast<int>(appearance.look);
    }
    if (appearance.picture.cacheKey() != picture.cacheKey()) {
        return ::testing::AssertionFailure() << "another picture";
    }
    return ::testing::AssertionSuccess();
}

TEST_F(PictureButtonTest, CommandButtonLooksAwayOverAndPressed) {
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Normal, normal_));
    QTest::mouseMove(first_);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Hot, hover_));
    QTest::mousePress(first_, Qt::LeftButton);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Pressed, down_));
    QTest::mouseRelease(first_, Qt::LeftButton);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Hot, hover_));
    MoveAway();
    // The click gave the button the focus.
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Default, normal_));
    text_->setFocus();
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Normal, normal_));
}

TEST_F(PictureButtonTest, SetOptionButtonIsPressedAwayAndHotWithDownPictureOver) {
    first_->setCheckable(true);
    first_->setChecked(true);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Pressed, down_));
    QTest::mouseMove(first_);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Hot, down_));
}

TEST_F(PictureButtonTest, MissingPicturesFallBackToThePicture) {
    auto* plain = new PictureButton(window_.centralWidget());
    plain->SetPicture(normal_);
    plain->setEnabled(false);
    EXPECT_TRUE(Shows(*plain, PictureButton::Look::Disabled, normal_));
    plain->setEnabled(true);
    plain->setDown(true);
    EXPECT_TRUE(Shows(*plain, PictureButton::Look::Pressed, normal_));

    const QPixmap grey = Solid(Qt::gray);
    first_->SetDisabledPicture(grey);
    first_->setEnabled(false);
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Disabled, grey));
}

TEST_F(PictureButtonTest, FocusedButtonIsDrawnAsTheDefault) {
    first_->setFocus();
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Default, normal_));
}

TEST_F(PictureButtonTest, MovingStraightToAnotherButtonEndsTheFirstHoverFirst) {
    QTest::mouseMove(first_);
    QTest::mouseMove(second_);
    EXPECT_EQ(messages_, (std::vector<QString>{"first help", "Idle", "second help"}));
    EXPECT_FALSE(first_->IsHot());
    EXPECT_TRUE(second_->IsHot());
}

TEST_F(PictureButtonTest, AnyControlWithHelpShowsItOnTheStatusLine) {
    QTest::mouseMove(text_);
    EXPECT_EQ(window_.statusBar()->currentMessage(), "text help");
    MoveAway();
    EXPECT_EQ(window_.statusBar()->currentMessage(), "Idle");
}

TEST_F(PictureButtonTest, EndHoverDropsTheLookUntilTheMouseMovesAgain) {
    QTest::mouseMove(first_, QPoint(20, 20));
    first_->EndHover();
    EXPECT_FALSE(first_->IsHot());
    EXPECT_EQ(window_.statusBar()->currentMessage(), "Idle");
    EXPECT_TRUE(Shows(*first_, PictureButton::Look::Normal, normal_));

    QTest::mouseMove(first_, QPoint(30, 20));
    EXPECT_TRUE(first_->IsHot());
    EXPECT_EQ(window_.statusBar()->currentMessage(), "first help");
}

// Rows of the button's drawing, inside its bevel, holding a pixel for which
// test holds.
template <typename Test> std::pair<int, int> RowsWith(const QImage& image, Test test) {
    constexpr int kBevel = 3;
    int top = image.height();
    int bottom = -1;
    for (int y = kBevel; y < image.height() - kBevel; ++y) {
        for (int x = kBevel; x < image.width() - kBevel; ++x) {
            if (test(image.pixelColor(x, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {top, bottom};
}

bool IsRed(const QColor& c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

bool IsText(const QColor& c) {
    return c.lightness() < 90 && !IsRed(c);
}

TEST(PictureButtonDrawing, CaptionSitsAtTheBottomBelowThePicture) {
    PictureButton button;
    button.resize(110, 70);
    button.SetPicture(Solid(Qt::red, QSize(20, 20)));
    button.setText("Select");
    const QImage image = button.grab().toImage();
    const auto [pictureTop, pictureBottom] = RowsWith(image, IsRed);
    const auto [textTop, textBottom] = RowsWith(image, IsText);
    ASSERT_LE(pictureTop, pictureBottom);
    ASSERT_LE(textTop, textBottom);
    EXPECT_EQ(pictureBottom - pictureTop + 1, 20);
    EXPECT_LT(pictureBottom, textTop);
    EXPECT_GE(textBottom, image.height() - 5 - button.fontMetrics().height());
    EXPECT_LT(textBottom, image.height() - 5);
}

TEST(PictureButtonDrawing, CaptionWithoutPictureIsCentred) {
    PictureButton button;
    button.resize(110, 70);
    button.setText("Select");
    const QImage image = button.grab().toImage();
    const auto [textTop, textBottom] = RowsWith(image, IsText);
    ASSERT_LE(textTop, textBottom);
    EXPECT_LE(std::abs((textTop + textBottom) / 2 - image.height() / 2), 3);
}

} // namespace
} // namespace tellavin
