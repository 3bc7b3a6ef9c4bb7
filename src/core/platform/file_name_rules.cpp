#include "platform/file_name_rules.h"

namespace tellavin {

FileNameRules NativeFileNameRules() {
#ifdef _WIN32
    return FileNameRules::Windows;
#else
    return FileNameRules::Posix;
#endif
}

} // namespace tellavin
