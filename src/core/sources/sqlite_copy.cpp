#include "sources/sqlite_copy.h"

#include "platform/file_io.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace tellavin::sqlite {

namespace {

// The database at path as a URI that opens it read-only and only reads its
// shared-memory file, so that reading creates nothing beside it.
std::string ReadOnlyUri(const std::string& path) {
    std::string uri = path.starts_with('/') ? "file://" : "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            constexpr const char* kHex = "0123456789ABCDEF";
            uri += {'%', kHex[static_cast<unsigned char>(c) >> 4], kHex[c & 0xF]};
        } else {
            uri += c;
        }
    }
    return uri + "?mode=ro&readonly_shm=1";
}

// Copies the database with SQLite's online backup, which takes SQLite's
// locks and reads the log or a journal as any reader does: the copy holds
// the committed state of the moment its read transaction began, whatever is
// written meanwhile. It fails where SQLite cannot read the database in
// place: a running browser holds it exclusively, a journal left by another
// program wants rolling back, a log lacks its shared-memory file.
OpenedCopy CopyByBackup(const std::string& path, ScratchFolder& scratch, const std::string& stem,
                        const std::function<void()>& duringCopy) {
    OpenedCopy copy;
    auto source = Open(ReadOnlyUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, copy.failure);
    if (!source) {
        return copy;
    }
    // The read transaction holds the state of its first read until the
    // source is closed; the backup copies that state.
    copy.failure = Execute(source.get(), "BEGIN; SELECT count(*) FROM sqlite_schema");
    if (!copy.failure.empty()) {
        return copy;
    }
    const auto copyName = stem + ".sqlite";
    copy.failure = scratch.MakeFile(copyName);
    if (!copy.failure.empty()) {
        return copy;
    }
    auto target = Open(Utf8FromPath(scratch.PathOf(copyName)), SQLITE_OPEN_READWRITE, copy.failure);
    if (!target) {
        return copy;
    }
    duringCopy();
    sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", source.get(), "main");
    if (backup == nullptr) {
        copy.failure = sqlite3_errmsg(target.get());
        return copy;
    }
    sqlite3_backup_step(backup, -1);
    if (sqlite3_backup_finish(backup) != SQLITE_OK) {
        copy.failure = sqlite3_errmsg(target.get());
        return copy;
    }
    copy.db = std::move(target);
    return copy;
}

// What a copy of a file depends on: whether it is there, its length, its
// last change and its first bytes.
struct FileState {
    bool present = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type changed{};
    std::string head;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const std::string& path, std::size_t headBytes) {
    FileState state;
    std::error_code error;
    auto file = PathFromUtf8(path);
    state.size = std::filesystem::file_size(file, error);
    if (error) {
        return {};
    }
    state.present = true;
    state.changed = std::filesystem::last_write_time(file, error);
    std::ifstream in(file, std::ios::binary);
    state.head.resize(headBytes);
    in.read(state.head.data(), static_cast<std::streamsize>(headBytes));
    state.head.resize(static_cast<std::size_t>(in.gcount()));
    return state;
}

// The database with its log and journal. Their headers hold the database's
// change counter, the log's checkpoint sequence and salts (new each time
// the log starts over) and the journal's record count and nonce.
struct DatabaseState {
    FileState database;
    FileState log;
    FileState journal;
    bool operator==(const DatabaseState&) const = default;
};

DatabaseState StateOf(const std::string& path) {
    return {StateOf(path, 100), StateOf(path + "-wal", 32), StateOf(path + "-journal", 28)};
}

std::uint32_t BigEndian32(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

// How much of a log of the given size SQLite reads: its header and the
// whole frames after it that carry the header's salts. Frames left from an
// earlier round of the log and a hole at its end are not read, nor copied.
std::uintmax_t LogExtent(const std::string& log, std::uintmax_t size) {
    constexpr std::uintmax_t kHeader = 32;
    constexpr std::uintmax_t kFrameHeader = 24;
    std::ifstream in(PathFromUtf8(log), std::ios::binary);
    char header[kHeader];
    if (!in.read(header, kHeader)) {
        return size;
    }
    std::uintmax_t pageSize = BigEndian32(header + 8);
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0) {
        return kHeader;
    }
    std::uintmax_t extent = kHeader;
    char frame[kFrameHeader];
    while (extent + kFrameHeader + pageSize <= size &&
           in.seekg(static_cast<std::streamoff>(extent)) && in.read(frame, kFrameHeader) &&
           std::memcmp(frame + 8, header + 16, 8) == 0) {
        extent += kFrameHeader + pageSize;
    }
    return extent;
}

// Copies the database, then its log and journal as the state found them,
// into the folder under name; empty, or why not.
std::string CopyFiles(const std::string& path, const DatabaseState& state, ScratchFolder& scratch,
                      const std::string& name, const std::function<void()>& duringCopy) {
    if (auto failure = scratch.CopyIn(path, name)) {
        return failure->reason;
    }
    duringCopy();
    struct Companion {
        const char* suffix;
        const FileState& state;
        std::uintmax_t bytes;
    };
    const Companion companions[] = {
        {"-wal", state.log, state.log.present ? LogExtent(path + "-wal", state.log.size) : 0},
        {"-journal", state.journal, state.journal.size},
    };
    for (const auto& companion : companions) {
        if (!companion.state.present) {
            continue;
        }
        auto from = path + companion.suffix;
        if (auto failure = scratch.CopyIn(from, name + companion.suffix, companion.bytes)) {
            return failure->reading ? "cannot read " + from + ": " + failure->reason
                                    : failure->reason;
        }
    }
    return {};
}

// Copies the database file with its log and journal as they lie, for when
// SQLite cannot read it in place, and opens the copy for writing: SQLite
// then reads the log, and rolls an unfinished transaction back from the
// journal, in the copy. A copy counts only when none of the three files
// changed while it was made; else it is made again, a few times.
OpenedCopy CopyAsTheyLie(const std::string& path, ScratchFolder& scratch, const std::string& stem,
                         const std::function<void()>& duringCopy) {
    constexpr int kAttempts = 5;
    // Longer than the coarsest tick of the file systems a profile lies on.
    constexpr auto kTimeTick = std::chrono::milliseconds(50);
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (attempt > 1) {
            // Longer each time, for the writer to finish.
            std::this_thread::sleep_for(std::chrono::milliseconds(25 << (attempt - 1)));
        }
        auto taken = std::filesystem::file_time_type::clock::now();
        auto before = StateOf(path);
        auto name = stem + "-" + std::to_string(attempt) + ".sqlite";
        auto failure = CopyFiles(path, before, scratch, name, duringCopy);
        // A write within the same tick of the file system's clock as the
        // last one leaves the file's time as it was: the database's time
        // tells of a change only when it lay a tick before the copy began.
        // (The log and journal change their length or header on every write
        // that matters.)
        if (StateOf(path) != before || before.database.changed + kTimeTick > taken) {
            continue;
        }
        OpenedCopy copy;
        copy.failure = failure;
        if (failure.empty()) {
            copy.db = Open(Utf8FromPath(scratch.PathOf(name)), SQLITE_OPEN_READWRITE, copy.failure);
        }
        return copy;
    }
    return {nullptr, kBeingWritten};
}

} // namespace

OpenedCopy OpenConsistentCopy(const std::string& path, ScratchFolder& scratch,
                              const std::string& stem, const std::function<void()>& duringCopy) {
    auto copy = CopyByBackup(path, scratch, stem, duringCopy);
    if (!copy.db) {
        copy = CopyAsTheyLie(path, scratch, stem, duringCopy);
    }
    return copy;
}

} // namespace tellavin::sqlite
