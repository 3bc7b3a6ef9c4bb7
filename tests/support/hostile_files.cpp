#include "support/hostile_files.h"

#include "support/temp_dir.h"

#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin::test {

void MakeDeepChain(const std::filesystem::path& root, const std::string& name, int depth) {
    std::filesystem::create_directories(root);
    int parent = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && parent >= 0; ++level) {
        mkdirat(parent, name.c_str(), 0755);
        int child = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(parent);
        parent = child;
    }
    if (parent < 0) {
        throw std::runtime_error("cannot make a chain below " + root.string());
    }
    close(parent);
}

void WriteRepeated(const std::filesystem::path& path, std::string_view head, char fill,
                   std::size_t count, std::string_view tail) {
    std::ofstream out(path, std::ios::binary);
    out << head;
    const std::string block(1 << 20, fill);
    for (std::size_t left = count; left > 0;) {
        auto part = std::min(left, block.size());
        out.write(block.data(), static_cast<std::streamsize>(part));
        left -= part;
    }
    out << tail;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::filesystem::path DataPath(const std::string& name) {
    return std::filesystem::path(TELLAVIN_TEST_DATA) / name;
}

std::string DataFile(const std::string& name) {
    return ReadFile(DataPath(name));
}

} // namespace tellavin::test
