#include "support/temp_dir.h"

#include "platform/file_io.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace tellavin::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    // Process numbers come round again (under Wine within one test run), so
    // a random part keeps one test's folder from another's leftovers.
    static const auto run = std::random_device{}();
    path_ = fs::temp_directory_path() / ("tellavin-test-" + std::to_string(getpid()) + "-" +
                                         std::to_string(run) + "-" + std::to_string(counter++));
    fs::remove_all(DeepReach(path_));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code error;
    // Make everything writable again so tests that took permissions away
    // still clean up.
    for (auto it = fs::recursive_directory_iterator(DeepReach(path_), error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(DeepReach(path_), error);
}

std::string TempDir::operator/(const std::string& name) const {
    return Utf8FromPath(path_ / PathFromUtf8(name));
}

fs::path DeepReach(const fs::path& path) {
#ifdef _WIN32
    auto absolute = fs::absolute(path).wstring();
    return absolute.starts_with(L"\\\\?\\") ? absolute : L"\\\\?\\" + absolute;
#else
    return path;
#endif
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path CorpusDir() {
    fs::path corpus = TELLAVIN_SHARED_CORPUS;
    std::error_code error;
    return fs::is_directory(corpus, error) ? corpus : fs::path();
}

} // namespace tellavin::test
