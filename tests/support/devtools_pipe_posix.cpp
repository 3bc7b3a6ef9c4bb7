#include "support/devtools_pipe.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tellavin::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kAnswerWait = std::chrono::seconds(30);

// A pipe's ends moved above the descriptors the child is given, so that
// placing them at 3 and 4 never finds one there already.
bool HighPipe(int ends[2]) {
    int low[2];
    if (pipe(low) != 0) {
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        ends[i] = fcntl(low[i], F_DUPFD_CLOEXEC, 10);
        close(low[i]);
    }
    return ends[0] >= 0 && ends[1] >= 0;
}

} // namespace

DevToolsBrowser::DevToolsBrowser(const std::string& chromium, const std::string& userData) {
    int commands[2];
    int answers[2];
    if (!HighPipe(commands) || !HighPipe(answers)) {
        return;
    }
    std::vector<std::string> args{"timeout", "60", chromium};
    args.insert(args.end(), std::begin(kHeadlessFlags), std::end(kHeadlessFlags));
    args.push_back("--remote-debugging-pipe");
    args.push_back("--user-data-dir=" + userData);
    args.push_back("about:blank");
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commands[0], 3);
    posix_spawn_file_actions_adddup2(&actions, answers[1], 4);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, "timeout", &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(commands[0]);
    close(answers[1]);
    toBrowser_ = commands[1];
    fromBrowser_ = answers[0];
}

DevToolsBrowser::~DevToolsBrowser() {
    Kill();
    if (toBrowser_ >= 0) {
        close(toBrowser_);
    }
    if (fromBrowser_ >= 0) {
        close(fromBrowser_);
    }
}

nlohmann::json DevToolsBrowser::Call(const std::string& method, const nlohmann::json& params,
                                     const std::string& session) {
    const int id = nextId_++;
    nlohmann::json command{{"id", id}, {"method", method}, {"params", params}};
    if (!session.empty()) {
        command["sessionId"] = session;
    }
    auto text = command.dump();
    text += '\0';
    if (write(toBrowser_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        return {{"error", "the browser took no command"}};
    }
    const auto deadline = Clock::now() + kAnswerWait;
    while (true) {
        for (auto end = received_.find('\0'); end != std::string::npos;
             end = received_.find('\0')) {
            auto message = nlohmann::json::parse(received_.substr(0, end), nullptr, false);
            received_.erase(0, end + 1);
            if (message.is_object() && message.value("id", 0) == id) {
                return message;
            }
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{fromBrowser_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return {{"error", "no answer to " + method}};
        }
        char buffer[65536];
        auto got = read(fromBrowser_, buffer, sizeof buffer);
        if (got <= 0) {
            return {{"error", "the browser ended before answering " + method}};
        }
        received_.append(buffer, static_cast<std::size_t>(got));
    }
}

bool DevToolsBrowser::Quit() {
    if (pid_ <= 0) {
        return false;
    }
    Call("Browser.close", nlohmann::json::object());
    const auto deadline = Clock::now() + kAnswerWait;
    int status = 0;
    while (Clock::now() < deadline) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        usleep(50'000);
    }
    Kill();
    return false;
}

void DevToolsBrowser::Kill() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM); // timeout(1) passes it on to the browser
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace tellavin::test
