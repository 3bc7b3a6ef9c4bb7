#include "support/hostile_files.h"

#include "support/temp_dir.h"

#include <fstream>
#include <stdexcept>

namespace tellavin::test {

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
