#include "shell/path_window_factory.h"

#include "shell/path_placeholder_window.h"

namespace tellavin {

QWidget* CreatePathWindow(ConversionPath code, SessionState&, QWidget& owner) {
    return new PathPlaceholderWindow(code, owner);
}

} // namespace tellavin
