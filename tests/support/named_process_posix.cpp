#include "support/named_process.h"

#include <csignal>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace tellavin::test {

namespace fs = std::filesystem;

NamedProcess::NamedProcess(const fs::path& folder, const std::string& name) {
    fs::path program = folder / name;
    fs::create_directories(folder);
    fs::copy_file(fs::exists("/bin/sleep") ? "/bin/sleep" : "/usr/bin/sleep", program,
                  fs::copy_options::overwrite_existing);
    std::string path = program.string();
    std::string seconds = "120";
    char* argv[] = {path.data(), seconds.data(), nullptr};
    // posix_spawn returns once the program has replaced the child, so the
    // process list shows the new name from here on.
    if (posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
        throw std::runtime_error("cannot start " + path);
    }
}

NamedProcess::~NamedProcess() {
    Stop();
}

void NamedProcess::Stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace tellavin::test
