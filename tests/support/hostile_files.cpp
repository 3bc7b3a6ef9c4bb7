#include "support/hostile_files.h"

#include "support/temp_dir.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

std::string RunWithFileSizeLimit(std::size_t limit, const std::function<std::string()>& action) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        throw std::runtime_error("cannot make a pipe");
    }
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit fileSize{limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        auto answer = action();
        auto written = write(pipeEnds[1], answer.data(), answer.size());
        _exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) {
        return "child died of signal " + std::to_string(WTERMSIG(status));
    }
    return answer;
}

std::filesystem::path DataPath(const std::string& name) {
    return std::filesystem::path(TELLAVIN_TEST_DATA) / name;
}

std::string DataFile(const std::string& name) {
    return ReadFile(DataPath(name));
}

} // namespace tellavin::test
