// tellavin: the desktop application. A second start on the same display
// brings the running instance to the front and ends, saying so.
#include "gui/shell/main_window.h"
#include "gui/shell/path_window_factory.h"
#include "gui/shell/single_instance.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "platform/platform.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    tellavin::ReportFileSizeLimitAsError();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tellavin"));
    tellavin::InitGuiResources();

    tellavin::Platform& platform = tellavin::SystemPlatform();
    tellavin::SingleInstance instance(tellavin::SingleInstance::NameFor(
        platform.GetCurrentUserName(), tellavin::SingleInstance::CurrentDisplay()));
    if (!instance.Start()) {
        std::fputs("tellavin: Tellavin is already running on this display; its window was "
                   "brought to the front.\n",
                   stderr);
        return 0;
    }

    tellavin::Dialogs dialogs;
    tellavin::MainWindow window(platform, dialogs, tellavin::PathWindows(platform, dialogs));
    QObject::connect(&instance, &tellavin::SingleInstance::activationRequested, &window,
                     &tellavin::MainWindow::BringToFront);
    window.show();
    return QApplication::exec();
}
