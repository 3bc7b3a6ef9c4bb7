#include "platform/atomic_file.h"

#include "platform/file_io.h"
#include "platform/folder_listing.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace tellavin {

// Only the names are listed: a look at each file's time would cost a
// Favorites folder of thousands of shortcuts as many system calls.
void RemoveStaleTemporaryFiles(const std::string& folder) {
    auto listed = ListFolder(folder, false);
    if (!listed) {
        return;
    }
    namespace fs = std::filesystem;
    const auto staleBefore = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& entry : *listed) {
        if (entry.type != ListedType::File || !detail::IsTemporaryFileName(entry.name)) {
            continue;
        }
        auto path = PathFromUtf8(folder) / PathFromUtf8(entry.name);
        std::error_code error;
        auto written = fs::last_write_time(path, error);
        if (!error && written < staleBefore) {
            fs::remove(path, error);
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    FinishBackgroundWrites();
    CloseAndRemoveTemporary();
}

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

void AtomicFileWriter::Fail(unsigned long error) {
    if (error_ == 0) {
        error_ = error;
    }
}

void AtomicFileWriter::HandOverBuffer() {
    if (!CanWrite()) {
        buffer_.clear();
        return;
    }
    if (!background_) {
        try {
            background_ = std::make_unique<BatchWorker<std::string>>([this](std::string& block) {
                if (backgroundError_ == 0) {
                    backgroundError_ = WriteToFile(block);
                }
            });
        } catch (const std::system_error&) {
            WriteBuffer(); // no thread to be had: the composer writes itself
            return;
        }
    }
    background_->HandOver(buffer_);
}

void AtomicFileWriter::FinishBackgroundWrites() {
    if (background_) {
        background_->Finish();
        background_.reset();
        Fail(backgroundError_);
    }
}

void AtomicFileWriter::WriteBuffer() {
    FinishBackgroundWrites();
    if (CanWrite()) {
        Fail(WriteToFile(buffer_));
    }
    buffer_.clear();
}

void AtomicFileWriter::Write(std::string_view bytes) {
    WriteBuffer();
    if (CanWrite()) {
        Fail(WriteToFile(bytes));
    }
}

} // namespace tellavin
