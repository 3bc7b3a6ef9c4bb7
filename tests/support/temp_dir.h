#pragma once

#include <filesystem>
#include <string>

namespace tellavin::test {

// A fresh directory below the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of name inside the directory, as UTF-8 text.
    std::string operator/(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating the folders above it.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// The same path in the form under which the system reaches everything
// below it however deep: on Windows with the long-path prefix, as files
// beyond 260 characters need; elsewhere as it is.
std::filesystem::path DeepReach(const std::filesystem::path& path);

// The shared real-world corpus, or an empty path when it is not beside the
// checkout (a user's clone); tests that need it skip then.
std::filesystem::path CorpusDir();

} // namespace tellavin::test
