#include "gui/export/menu_colors_panel.h"

#include "gui/windows/dialogs.h"
#include "settings/color_preset_list.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tellavin {

namespace {

// The slots of the eight colours.
constexpr int kTextOut = 0;
constexpr int kTextOver = 1;
constexpr int kBackgroundOut = 2;
constexpr int kBackgroundOver = 3;
constexpr int kBorderOut = 4;
constexpr int kBorderOver = 5;
constexpr int kPage = 6;
constexpr int kMenuBar = 7;

const char* const kOverStatus = "Preview of the Menuitems on the Mouseover Status";
const char* const kOutStatus = "Preview of the Menuitems on the Mouseout Status";

// A page colour keeps red in its low byte.
QColor ToQColor(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

void Paint(QWidget& part, std::uint32_t background, std::optional<std::uint32_t> text = {}) {
    QString style = QStringLiteral("background-color: %1;").arg(ToQColor(background).name());
    if (text) {
        style += QStringLiteral(" color: %1;").arg(ToQColor(*text).name());
    }
    part.setStyleSheet(style);
}

// The preset actions' questions, asked with the window's boxes.
class DialogQuestions final : public PresetQuestions {
public:
    DialogQuestions(Dialogs& dialogs, QWidget& owner) : dialogs_(dialogs), owner_(owner) {}
    std::string AskText(const std::string& title, const std::string& prompt) override {
        auto text = dialogs_.Input(&owner_, QString::fromStdString(title),
                                   QString::fromStdString(prompt), QString());
        return text ? text->toStdString() : std::string();
    }
    bool AskYesNo(const std::string& title, const std::string& text) override {
        return dialogs_.Question(&owner_, QString::fromStdString(title),
                                 QString::fromStdString(text).split(QStringLiteral("\r\n")));
    }

private:
    Dialogs& dialogs_;
    QWidget& owner_;
};

} // namespace

MenuColorsPanel::MenuColorsPanel(Controls controls, PresetList& presets, Dialogs& dialogs,
                                 QWidget& window, std::function<void(const QString&)> showStatus)
    : QObject(&window), c_(controls), presets_(presets), dialogs_(dialogs), window_(window),
      showStatus_(std::move(showStatus)) {
    for (int slot = 0; slot < 8; ++slot) {
        connect(c_.swatches[static_cast<std::size_t>(slot)], &QAbstractButton::clicked, this,
                [this, slot] { ChooseColor(slot); });
    }
    connect(c_.presetBox, &QComboBox::activated, this, [this](int position) {
        presets_.Choose(static_cast<std::size_t>(position));
        ShowPresets();
    });
    connect(c_.savePreset, &QAbstractButton::clicked, this, [this] {
        DialogQuestions questions(dialogs_, window_);
        presets_.SavePreset(questions);
        ShowPresets();
    });
    connect(c_.deletePreset, &QAbstractButton::clicked, this, [this] {
        DialogQuestions questions(dialogs_, window_);
        presets_.DeletePreset(questions);
        ShowPresets();
    });
    for (QLabel* part : {c_.pageBackground, c_.menuBar, c_.itemBorder, c_.item}) {
        part->setMouseTracking(true);
        part->installEventFilter(this);
    }
    c_.pageBackground->parentWidget()->installEventFilter(this);
}

const MenuColors& MenuColorsPanel::Colors() const {
    return presets_.swatches();
}

void MenuColorsPanel::ShowPresets() {
    c_.presetBox->clear();
    for (const auto& item : presets_.items()) {
        c_.presetBox->addItem(QString::fromStdString(item.text));
    }
    c_.presetBox->setCurrentIndex(presets_.selected() ? static_cast<int>(*presets_.selected())
                                                      : -1);
    c_.deletePreset->setEnabled(presets_.deleteEnabled());
    for (std::size_t slot = 0; slot < 8; ++slot) {
        Paint(*c_.swatches[slot], presets_.swatches()[slot]);
    }
    PaintPreview(false);
}

void MenuColorsPanel::ChooseColor(int slot) {
    const auto index = static_cast<std::size_t>(slot);
    auto chosen = dialogs_.ChooseColor(&window_, QStringLiteral("Color"),
                                       ToQColor(presets_.swatches()[index]));
    if (chosen) {
        presets_.ChangeSwatch(index, FromQColor(*chosen));
    }
    ShowPresets();
}

void MenuColorsPanel::PaintPreview(bool pointerOver) {
    const auto& colors = presets_.swatches();
    Paint(*c_.pageBackground, colors[kPage]);
    Paint(*c_.menuBar, colors[kMenuBar]);
    Paint(*c_.itemBorder, colors[pointerOver ? kBorderOver : kBorderOut]);
    Paint(*c_.item, colors[pointerOver ? kBackgroundOver : kBackgroundOut],
          colors[pointerOver ? kTextOver : kTextOut]);
}

int MenuColorsPanel::SlotClicked(QObject* part, Qt::MouseButton button,
                                 Qt::KeyboardModifiers keys) const {
    if (part == c_.item) {
        const bool left = button == Qt::LeftButton;
        if ((!left && button != Qt::RightButton) ||
            (keys != Qt::NoModifier && keys != Qt::ShiftModifier)) {
            return -1;
        }
        if (keys == Qt::ShiftModifier) {
            return left ? kTextOver : kTextOut;
        }
        return left ? kBackgroundOver : kBackgroundOut;
    }
    if (part == c_.itemBorder) {
        return button == Qt::LeftButton ? kBorderOver : kBorderOut;
    }
    if (part == c_.menuBar) {
        return kMenuBar;
    }
    return part == c_.pageBackground ? kPage : -1;
}

bool MenuColorsPanel::eventFilter(QObject* watched, QEvent* event) {
    const bool onItem = watched == c_.item || watched == c_.itemBorder;
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (watched == c_.pageBackground->parentWidget()) {
            PaintPreview(false);
        } else {
            PaintPreview(onItem);
            showStatus_(QString::fromLatin1(onItem ? kOverStatus : kOutStatus));
        }
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const int slot = SlotClicked(watched, mouse->button(), mouse->modifiers());
        if (slot >= 0) {
            ChooseColor(slot);
        }
        // A click the item ignores must not reach the border around it.
        return watched != c_.pageBackground->parentWidget();
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tellavin
