#include "support/named_process.h"

#include <stdexcept>
#include <windows.h>

namespace tellavin::test {

namespace fs = std::filesystem;

NamedProcess::NamedProcess(const fs::path& folder, const std::string& name) {
    fs::path program = folder / name;
    fs::create_directories(folder);
    fs::copy_file(TELLAVIN_TEST_SLEEPER, program, fs::copy_options::overwrite_existing);
    std::wstring commandLine = L"\"" + program.wstring() + L"\" 120";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    // Detached: the program gets no console. Given a console of its own
    // (CREATE_NO_WINDOW), Wine starts a console host for it, which outlives
    // a program killed early and keeps the test's output pipe open, so that
    // CTest waits for it for ever.
    if (!CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, nullptr, &startup, &started)) {
        throw std::runtime_error("cannot start " + program.string());
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
}

NamedProcess::~NamedProcess() {
    Stop();
}

void NamedProcess::Stop() {
    if (process_ == nullptr) {
        return;
    }
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
    CloseHandle(process_);
    process_ = nullptr;
}

} // namespace tellavin::test
