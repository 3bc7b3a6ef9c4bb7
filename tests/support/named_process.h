#pragma once

#include <filesystem>
#include <string>
#ifndef _WIN32
#include <sys/types.h>
#endif

namespace tellavin::test {

// A real process with a chosen executable name: a copy of a program that
// only waits (sleep on POSIX, the test sleeper on Windows), placed in folder
// under that name, started on construction and killed (and reaped) when the
// object goes.
class NamedProcess {
public:
    NamedProcess(const std::filesystem::path& folder, const std::string& name);
    ~NamedProcess();
    NamedProcess(const NamedProcess&) = delete;
    NamedProcess& operator=(const NamedProcess&) = delete;

    // Kills the process and waits for it to end.
    void Stop();

private:
#ifdef _WIN32
    void* process_ = nullptr; // the process's handle
#else
    pid_t pid_ = -1;
#endif
};

} // namespace tellavin::test
