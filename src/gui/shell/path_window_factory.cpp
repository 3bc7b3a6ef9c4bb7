#include "gui/shell/path_window_factory.h"

#include "gui/export/bookmark_files_window.h"
#include "gui/export/favorites_to_file_window.h"
#include "gui/export/file_to_favorites_window.h"
#include "gui/export/menu_page_window.h"
#include "gui/shell/path_placeholder_window.h"

namespace tellavin {

QWidget* CreatePathWindow(ConversionPath code, SessionState& session, QWidget& owner,
                          Platform& platform, Dialogs& dialogs) {
    switch (code) {
    case 2:
    case 7:
        return new FavoritesToFileWindow(code, session, platform, dialogs, owner);
    case 5:
    case 6:
    case 11:
        return new MenuPageWindow(code, session, platform, dialogs, owner);
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
