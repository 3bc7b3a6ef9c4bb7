#pragma once

#include "model/menu_colors.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAbstractButton;
class QComboBox;
class QLabel;
class QWidget;

namespace tellavin {

class Dialogs;
class PresetList;

// The colours of a menu page in the menu window: eight swatches (text,
// background and border of an item when the pointer is out and over it,
// the page and the top menu bar), the preset list with Save Preset... and
// Delete Preset, and a preview of one item on its page. Clicking a swatch
// or a part of the preview opens the colour dialog for its colour; any
// change makes the colours "<Custom>".
class MenuColorsPanel : public QObject {
    Q_OBJECT

public:
    struct Controls {
        std::array<QAbstractButton*, 8> swatches; // picColor(0) to picColor(7)
        QComboBox* presetBox;                     // cboMenuColor
        QAbstractButton* savePreset;
        QAbstractButton* deletePreset;
        QLabel* pageBackground; // lblSfondo
        QLabel* menuBar;        // lblMenuBar
        QLabel* itemBorder;     // lblPreview(0)
        QLabel* item;           // lblPreview(1)
    };

    MenuColorsPanel(Controls controls, PresetList& presets, Dialogs& dialogs, QWidget& window,
                    std::function<void(const QString&)> showStatus);

    // Shows the preset list, the swatches and the preview as the presets are.
    void ShowPresets();
    const MenuColors& Colors() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseColor(int slot);
    void PaintPreview(bool pointerOver);
    // The slot a released button names on a part of the preview; -1 none.
    int SlotClicked(QObject* part, Qt::MouseButton button, Qt::KeyboardModifiers keys) const;

    Controls c_;
    PresetList& presets_;
    Dialogs& dialogs_;
    QWidget& window_;
    std::function<void(const QString&)> showStatus_;
};

} // namespace tellavin
