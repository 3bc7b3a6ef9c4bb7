#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <sys/types.h>

namespace tellavin::test {

// A headless Chromium on a user-data folder, driven through its DevTools
// pipe (--remote-debugging-pipe: commands on descriptor 3, answers on 4,
// each a JSON text ended by a NUL). The browser runs under timeout(1), so
// it ends after a minute whatever happens; every wait for an answer ends
// after 30 seconds. The browser is killed and reaped when the object goes.
class DevToolsBrowser {
public:
    DevToolsBrowser(const std::string& chromium, const std::string& userData);
    ~DevToolsBrowser();
    DevToolsBrowser(const DevToolsBrowser&) = delete;
    DevToolsBrowser& operator=(const DevToolsBrowser&) = delete;

    bool Started() const { return pid_ > 0; }
    // The answer to a command (its "result" or "error"), or an "error"
    // saying the browser gave none in time.
    nlohmann::json Call(const std::string& method, const nlohmann::json& params,
                        const std::string& session = {});
    // Asks the browser to close and waits for it to end; true when it
    // ended by itself, false when it had to be killed.
    bool Quit();

private:
    void Kill();

    pid_t pid_ = -1;
    int toBrowser_ = -1;
    int fromBrowser_ = -1;
    std::string received_;
    int nextId_ = 1;
};

// The flags the browser tests start Chromium with: headless, on its own,
// with nothing from the network.
inline constexpr const char* kHeadlessFlags[] = {"--headless",
                                                 "--no-sandbox",
                                                 "--disable-gpu",
                                                 "--disable-quic",
                                                 "--no-first-run",
                                                 "--disable-background-networking",
                                                 "--disable-component-update",
                                                 "--disable-sync"};

} // namespace tellavin::test
