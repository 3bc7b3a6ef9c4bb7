#include "model/session_state.h"

namespace tellavin {

void ResetSharedState(SessionState& state) {
    state.code = 0;
    state.favoritesFolder.clear();
    state.sourceFile.clear();
    state.nSourceFolders = 0;
    state.nSourceLinks = 0;
}

} // namespace tellavin
