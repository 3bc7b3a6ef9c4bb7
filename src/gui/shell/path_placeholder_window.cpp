#include "gui/shell/path_placeholder_window.h"

#include "gui/windows/conversion_path_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tellavin {

PathPlaceholderWindow::PathPlaceholderWindow(ConversionPath code, QWidget& owner)
    : QWidget(&owner, Qt::Window) {
    setObjectName(QStringLiteral("frmPath"));
    setWindowTitle(PathWindowTitle(code));
    setWindowIcon(owner.windowIcon());

    auto* path = new QLabel(PathActionText(code), this);
    path->setObjectName(QStringLiteral("lblPath"));
    QFont bold = path->font();
    bold.setBold(true);
    path->setFont(bold);
    auto* note =
        new QLabel(tr("The export window of this path is not part of this version."), this);
    auto* back = new QPushButton(tr("Go Back to the Main Window"), this);
    back->setObjectName(QStringLiteral("cmdBack"));
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(10);
    layout->addWidget(path);
    layout->addWidget(note);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace tellavin
