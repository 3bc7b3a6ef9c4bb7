#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace tellavin::test {

// A real process with a chosen executable name: a copy of sleep, placed in
// folder under that name, started on construction and killed (and reaped)
// when the object goes.
class NamedProcess {
public:
    NamedProcess(const std::filesystem::path& folder, const std::string& name);
    ~NamedProcess();
    NamedProcess(const NamedProcess&) = delete;
    NamedProcess& operator=(const NamedProcess&) = delete;

    // Kills the process and waits for it to end.
    void Stop();

private:
    pid_t pid_ = -1;
};

} // namespace tellavin::test
