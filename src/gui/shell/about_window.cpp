#include "gui/shell/about_window.h"

#include "gui/windows/svg_picture.h"
#include "gui/windows/twips.h"
#include "model/product_info.h"
#include "platform/platform.h"
#include "settings/exported_total.h"
#include "ui_about_window.h"

namespace tellavin {

namespace {

constexpr int kLogoSize = 960; // twips
constexpr std::int32_t kShowMaximized = 3;

QString Link(const QString& address, const QString& text) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(address, text);
}

} // namespace

AboutWindow::AboutWindow(Platform& platform, QWidget* owner)
    : QDialog(owner), ui_(std::make_unique<Ui::frmAbout>()), platform_(platform) {
    ui_->setupUi(this);
    if (owner != nullptr) {
        setWindowIcon(owner->windowIcon());
    }
    const int logo = TwipsToPixelsX(kLogoSize, *this);
    ui_->imgLogoTL->setPixmap(
        RenderSvg(QStringLiteral(":/icons/tellavin.svg"), QSize(logo, logo), devicePixelRatioF()));
    QFont heading = ui_->lblVersion->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    ui_->lblVersion->setFont(heading);
    ui_->lblVersion->setText(ui_->lblVersion->text() + QLatin1String(kProductVersion));
    // Adding nothing reads the total.
    const std::int32_t total = AddToExportedTotal(platform_, 0);
    ui_->lblTotalItemsExported->setText(ui_->lblTotalItemsExported->text() + QLatin1Char(' ') +
                                        QString::number(total));
    const QString homePage = QLatin1String(kProductHomePage);
    ui_->lblLink_0->setText(Link(homePage, QString(homePage).remove(QStringLiteral("https://"))));
    const QString mail = QLatin1String(kMakerMailAddress);
    ui_->lblLink_1->setText(Link(QStringLiteral("mailto:") + mail, mail));
    connect(ui_->lblLink_0, &QLabel::linkActivated, this, &AboutWindow::OpenLink);
    connect(ui_->lblLink_1, &QLabel::linkActivated, this, &AboutWindow::OpenLink);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::OpenLink(const QString& address) {
    platform_.ShellOpen(address.toStdString(), kShowMaximized);
}

} // namespace tellavin
