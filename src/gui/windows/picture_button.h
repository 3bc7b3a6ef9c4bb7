#pragma once

#include <QPixmap>
#include <QPushButton>

namespace tellavin {

// A command button (or, when checkable, an option button) that shows a
// picture, with an optional caption below it, on the bevel of the platform's
// style. It knows when the mouse is over it ("hot") from Qt's enter and leave
// events and draws the hover picture then; its status tip is its help text,
// which reaches the window's status line (see HoverHelp).
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    // The bevel states of the style, in the order the drawing checks them.
    enum class Look { Normal, Hot, Pressed, Default, Disabled };

    struct Appearance {
        Look look;
        QPixmap picture; // empty when the button has no picture to show
    };

    explicit PictureButton(QWidget* parent = nullptr);

    void SetPicture(const QPixmap& picture);
    void SetHoverPicture(const QPixmap& picture);
    void SetDownPicture(const QPixmap& picture);
    void SetDisabledPicture(const QPixmap& picture);

    bool IsHot() const { return bHot_; }

    // Ends the hover look as if the mouse had left: a click that opens
    // another window calls it so the button does not stay lit behind it.
    void EndHover();

    // The bevel and the picture the button draws in its present state.
    Appearance CurrentAppearance() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void SetHot(bool hot);
    void SendStatusTip(const QString& text);
    QPixmap PictureOr(const QPixmap& preferred) const;

    QPixmap picture_;
    QPixmap hoverPicture_;
    QPixmap downPicture_;
    QPixmap disabledPicture_;
    bool bHot_ = false;
};

} // namespace tellavin
