#pragma once

#include "platform/batch_worker.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tellavin {

struct WriteResult {
    bool ok = true;
    std::string message; // on failure: the path and the system's reason
};

// Replaces the file at path with bytes, or creates it, so that a reader
// sees either the old or the whole new content: the bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the target,
// and the folder is flushed after the rename. On Linux the temporary file
// has no name until it is complete (O_TMPFILE), so a write cut short by a
// kill or a crash leaves nothing behind; elsewhere, and on file systems
// that cannot make such a file, it is a hidden file named ".tellavin-..."
// beside the target. Before it starts, a write removes from the folder
// what earlier writes cut short left there (RemoveStaleTemporaryFiles).
// An existing target keeps its permissions, and its owner and group where
// the system lets the writer give them away (on Windows its hidden, system
// and archive attributes); a target that is a symbolic
// link is replaced where the link points and the link stays. On failure the
// old file is untouched and the temporary file removed. flushToDisk false skips the
// flushes, the removal of stale temporary files and the unnamed file (the
// named one is cheaper to make), for writers of many small files where one
// flush or one look at the folder per file would cost more than the write
// (they call RemoveStaleTemporaryFiles once per folder); the rename still
// never shows a partial file.
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                bool flushToDisk = true);

// The reason a write into a folder that must not follow symbolic links
// gives when one has the name to be written.
inline constexpr const char* kSymbolicLinkInPlace = "a symbolic link is in its place";

// As WriteFileAtomically, but a symbolic link at path is never followed:
// the write fails, naming the link, and the link and what it points to stay
// as they are. For writers into a folder whose links another user may have
// planted.
WriteResult WriteFileAtomicallyNotFollowing(const std::string& path, std::string_view bytes,
                                            bool flushToDisk = true);

// Removes from folder the temporary files of this program's atomic writes
// that were cut short (the process killed, the machine switched off) and
// are more than a day old: a younger one may belong to a write still going
// on. Other files, folders and symbolic links stay, and so does anything
// that cannot be removed, to be tried again at the next write.
void RemoveStaleTemporaryFiles(const std::string& folder);

namespace detail {
// Whether name is one this system's atomic writes give their temporary
// files.
bool IsTemporaryFileName(std::string_view name);
} // namespace detail

// Writes a file's new content while it is being composed, with the
// guarantees of WriteFileAtomically: the composer appends to Buffer(),
// which goes to the temporary file each time it holds a block, so a file
// of any size needs only a few blocks of memory. Full blocks are written on
// a thread of their own while the next one is composed. Commit writes the rest,
// flushes and renames. Until Commit succeeds the target is untouched, and
// a writer destroyed without Commit removes its temporary file. A failure
// on the way is kept and reported by Commit; appending after it costs
// nothing but the buffer.
class AtomicFileWriter {
public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

    // followLinks false refuses a symbolic link at path, as
    // WriteFileAtomicallyNotFollowing does.
    explicit AtomicFileWriter(const std::string& path, bool flushToDisk = true,
                              bool followLinks = true);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    std::string& Buffer() { return buffer_; }
    // Hands the buffer over to be written when it holds at least a block.
    void WriteIfFull() {
        if (buffer_.size() >= kBlockBytes) {
            HandOverBuffer();
        }
    }
    // Appends bytes after what the buffer holds, without copying them.
    void Write(std::string_view bytes);
    WriteResult Commit();

private:
    void Open(bool followLinks);
    void CloseAndRemoveTemporary();
    bool CanWrite() const { return file_ != -1 && error_ == 0; }
    // Writes bytes at the end of the temporary file; returns 0 or the
    // system's error number. Called by one thread at a time.
    unsigned long WriteToFile(std::string_view bytes);
    void HandOverBuffer();
    // Waits for the blocks handed over, then writes the buffer here.
    void WriteBuffer();
    void FinishBackgroundWrites();
    void Fail(unsigned long error);

    std::string path_; // as the caller named it, for messages
    std::string temp_; // the temporary file, once made
    std::string target_;
    std::string buffer_;
    // Writes full blocks from the first one on; its first failure, read
    // once it finished.
    std::unique_ptr<BatchWorker<std::string>> background_;
    unsigned long backgroundError_ = 0;
    // The open temporary file: a descriptor, or on Windows a handle; -1
    // while none is open.
    std::intptr_t file_ = -1;
    unsigned long error_ = 0; // the first failure, as the system numbers it
    bool refusedLink_ = false;
    bool flushToDisk_;
};

} // namespace tellavin
