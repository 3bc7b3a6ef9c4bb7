#include "sources/mozlz4.h"

namespace tellavin {

// Built instead of the LZ4 reader when the target has no liblz4: the
// compressed backup is named unreadable, with the reason.
MozLz4Content DecompressMozLz4(std::string_view) {
    return {{}, kMozLz4Unsupported};
}

} // namespace tellavin
