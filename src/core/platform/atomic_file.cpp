#include "platform/atomic_file.h"

namespace tellavin {

// The whole-content writes are the streaming writer given everything at
// once; each system's file holds the writer itself.

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes, bool flushToDisk) {
    AtomicFileWriter writer(path, flushToDisk);
    writer.Write(bytes);
    return writer.Commit();
}

WriteResult WriteFileAtomicallyNotFollowing(const std::string& path, std::string_view bytes,
                                            bool flushToDisk) {
    AtomicFileWriter writer(path, flushToDisk, false);
    writer.Write(bytes);
    return writer.Commit();
}

} // namespace tellavin
