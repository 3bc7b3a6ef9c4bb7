#include "platform/local_time.h"

#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace tellavin {

std::string LocalTimeText(std::time_t moment, const char* format) {
    const std::tm* local = std::localtime(&moment);
    if (local == nullptr) {
        return {};
    }
    std::ostringstream text;
    try {
        text.imbue(std::locale(""));
    } catch (const std::runtime_error&) {
        // An unknown locale in the environment: the classic format serves.
    }
    text << std::put_time(local, format);
    return text.str();
}

} // namespace tellavin
