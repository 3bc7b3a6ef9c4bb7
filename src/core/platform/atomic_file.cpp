#include "platform/atomic_file.h"

#include "platform/atomic_replace.h"

namespace tellavin {

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool flushToDisk) {
    return detail::ReplaceThroughTemporary(path, detail::ResolvedTarget(path), bytes, flushToDisk);
}

WriteResult WriteFileAtomicallyNotFollowing(const std::string& path, std::string_view bytes,
                                            bool flushToDisk) {
    if (detail::IsSymbolicLink(path)) {
        return {false, "Cannot write \"" + path + "\": " + kSymbolicLinkInPlace};
    }
    return detail::ReplaceThroughTemporary(path, path, bytes, flushToDisk);
}

} // namespace tellavin
