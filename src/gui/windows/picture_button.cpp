#include "gui/windows/picture_button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace tellavin {

namespace {

// Gap between a caption and the lower edge of the button.
constexpr int kCaptionBottomGap = 5;
constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {
    // Mouse moves without a pressed button bring the hover look back after
    // EndHover while the mouse is still over the button.
    setMouseTracking(true);
}

void PictureButton::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureButton::SetHoverPicture(const QPixmap& picture) {
    hoverPicture_ = picture;
    update();
}

void PictureButton::SetDownPicture(const QPixmap& picture) {
    downPicture_ = picture;
    update();
}

void PictureButton::SetDisabledPicture(const QPixmap& picture) {
    disabledPicture_ = picture;
    update();
}

void PictureButton::EndHover() {
    if (bHot_) {
        SetHot(false);
        SendStatusTip(QString());
    }
}

QPixmap PictureButton::PictureOr(const QPixmap& preferred) const {
    return preferred.isNull() ? picture_ : preferred;
}

PictureButton::Appearance PictureButton::CurrentAppearance() const {
    const bool pushed = isDown();
    const bool value = isChecked();
    if (!isEnabled()) {
        return {Look::Disabled, PictureOr(disabledPicture_)};
    }
    if (pushed || (!bHot_ && value)) {
        return {Look::Pressed, PictureOr(downPicture_)};
    }
    if (bHot_) {
        return {Look::Hot, PictureOr(value ? downPicture_ : hoverPicture_)};
    }
    if (hasFocus()) {
        return {Look::Default, picture_};
    }
    return {Look::Normal, picture_};
}

QSize PictureButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    QSize content = picture_.deviceIndependentSize().toSize();
    if (!text().isEmpty()) {
        const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
        content = QSize(std::max(content.width(), caption.width()),
                        content.height() + caption.height() + kCaptionBottomGap);
    }
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

void PictureButton::paintEvent(QPaintEvent*) {
    const Appearance appearance = CurrentAppearance();
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    option.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver | QStyle::State_On);
    switch (appearance.look) {
    case Look::Disabled:
        option.state &= ~QStyle::State_Enabled;
        break;
    case Look::Pressed:
        option.state |= QStyle::State_Sunken | QStyle::State_On;
        break;
    case Look::Hot:
        option.state |= QStyle::State_MouseOver;
        break;
    case Look::Default:
        option.features |= QStyleOptionButton::DefaultButton;
        break;
    case Look::Normal:
        break;
    }
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect pictureArea = area;
    if (!text().isEmpty()) {
        QRect caption = painter.fontMetrics().boundingRect(area, kCaptionFlags, text());
        if (appearance.picture.isNull()) {
            caption.moveCenter(area.center());
        } else {
            caption.moveBottom(rect().bottom() - kCaptionBottomGap);
            pictureArea.setBottom(caption.top() - 1);
        }
        caption.setLeft(area.left());
        caption.setRight(area.right());
        style()->drawItemText(&painter, caption, kCaptionFlags, palette(),
                              appearance.look != Look::Disabled, text(), QPalette::ButtonText);
    }
    if (!appearance.picture.isNull()) {
        QRect target(QPoint(), appearance.picture.deviceIndependentSize().toSize());
        target.moveCenter(pictureArea.center());
        painter.drawPixmap(target, appearance.picture);
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    SetHot(true);
}

void PictureButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    SetHot(false);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    if (!bHot_ && rect().contains(event->position().toPoint())) {
        SetHot(true);
        SendStatusTip(statusTip());
    }
}

void PictureButton::SetHot(bool hot) {
    bHot_ = hot;
    update();
}

// Qt tells the window about a control's help text when the mouse enters or
// leaves it; the hover look that EndHover ended or a mouse move brought back
// tells it the same way.
void PictureButton::SendStatusTip(const QString& text) {
    if (statusTip().isEmpty()) {
        return;
    }
    QStatusTipEvent tip(text);
    QApplication::sendEvent(this, &tip);
}

} // namespace tellavin
