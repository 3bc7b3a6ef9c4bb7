// The GUI tests share one QApplication. Without a display they draw on Qt's
// offscreen platform, which CTest also selects for them.
#include "gui/windows/gui_resources.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    tellavin::InitGuiResources();
    return RUN_ALL_TESTS();
}
