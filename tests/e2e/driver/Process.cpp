#include "Driver.h"

#include <tlhelp32.h>

#include <utility>

namespace e2e {

Process::~Process() {
    if (handle_) CloseHandle(handle_);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      id_(std::exchange(other.id_, 0)),
      error_(other.error_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
        error_ = other.error_;
    }
    return *this;
}

namespace {

void Create(const char* application, std::string commandLine, const std::string& folder,
            HANDLE* handle, DWORD* id, DWORD* error) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        *error = GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    *handle = info.hProcess;
    *id = info.dwProcessId;
}

}  // namespace

Process Process::Start(const std::string& program, const std::string& commandLine,
                       const std::string& workingFolder) {
    Process process;
    std::string line = commandLine.empty() ? "\"" + program + "\"" : commandLine;
    Create(program.c_str(), line, workingFolder, &process.handle_, &process.id_, &process.error_);
    return process;
}

Process Process::StartCommandLine(const std::string& commandLine) {
    Process process;
    Create(nullptr, commandLine, "", &process.handle_, &process.id_, &process.error_);
    return process;
}

bool Process::running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(DWORD timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_, timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::exitCode() const {
    DWORD code = 0;
    if (!handle_ || !GetExitCodeProcess(handle_, &code) || code == STILL_ACTIVE) return std::nullopt;
    return code;
}

void Process::kill() const {
    if (running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, kWaitMs);
    }
}

std::vector<DWORD> ProcessesNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void KillProcessesNamed(const std::string& exeName) {
    for (DWORD id : ProcessesNamed(exeName)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kWaitMs);
        CloseHandle(process);
    }
    WaitUntil([&] { return ProcessesNamed(exeName).empty(); }, 5000);
}

}  // namespace e2e
