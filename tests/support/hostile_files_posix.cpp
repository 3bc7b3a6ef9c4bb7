#include "support/hostile_files.h"

#include <fcntl.h>
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

} // namespace tellavin::test
