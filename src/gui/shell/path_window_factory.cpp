#include "shell/path_window_factory.h"

#include "export/bookmark_files_window.h"
#include "export/file_to_favorites_window.h"
#include "shell/path_placeholder_window.h"

namespace tellavin {

QWidget* CreatePathWindow(ConversionPath code, SessionState& session, QWidget& owner,
                          Platform& platform, Dialogs& dialogs) {
    switch (code) {
    case 4:
    case 9:
        return new FileToFavoritesWindow(code, session, platform, dialogs, owner);
    case 8:
    case 10:
        return new BookmarkFilesWindow(code, session, platform, dialogs, owner);
    default:
        return new PathPlaceholderWindow(code, owner);
    }
}

MainWindow::PathWindowFactory PathWindows(Platform& platform, Dialogs& dialogs) {
    return [&platform, &dialogs](ConversionPath code, SessionState& session, QWidget& owner) {
        return CreatePathWindow(code, session, owner, platform, dialogs);
    };
}

} // namespace tellavin
