#include "Driver.h"

#include <tlhelp32.h>

#include <cstdio>
#include <utility>

namespace e2e {

Process::~Process() {
    if (handle_) CloseHandle(handle_);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      watch_(std::move(other.watch_)),
      id_(std::exchange(other.id_, 0)),
      error_(other.error_) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        watch_ = std::move(other.watch_);
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
        error_ = other.error_;
    }
    return *this;
}

namespace {

// Returns the first thread's handle when `flags` has CREATE_SUSPENDED, else closes it.
HANDLE Create(const char* application, std::string commandLine, const std::string& folder,
              DWORD flags, HANDLE* handle, DWORD* id, DWORD* error) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(application, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        *error = GetLastError();
        // scripts/test knows this line: Wine now and then fails to start a program at all,
        // and only then is a test run once more.
        std::fprintf(stderr, "cannot start %s, error %lu\n", application ? application : commandLine.c_str(),
                     *error);
        return nullptr;
    }
    *handle = info.hProcess;
    *id = info.dwProcessId;
    if (flags & CREATE_SUSPENDED) return info.hThread;
    CloseHandle(info.hThread);
    return nullptr;
}

constexpr DWORD kRecordBytes = 1 << 16;

// A shared memory the show hook writes to; created once, kept for the test's life.
char* RecordView(const char* name) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        kRecordBytes, name);
    return mapping ? static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0))
                   : nullptr;
}
char* ShownView() {
    static char* view = RecordView("TarveskE2EShown");
    return view;
}
char* ToolRecordView() {
    static char* view = RecordView("TarveskE2EToolRecords");
    return view;
}

// The lines recorded in a view, without repeats of the line before.
std::vector<std::string> Lines(const char* view) {
    std::vector<std::string> lines;
    if (!view) return lines;
    std::string text(view, strnlen(view, kRecordBytes));
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (lines.empty() || lines.back() != line) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

Process Process::Start(const std::string& program, const std::string& commandLine,
                       const std::string& workingFolder) {
    Process process;
    std::string line = commandLine.empty() ? "\"" + program + "\"" : commandLine;
    Create(program.c_str(), line, workingFolder, 0, &process.handle_, &process.id_,
           &process.error_);
    return process;
}

Process Process::StartWatched(const std::string& program) {
    Process process;
    if (!ShownView() || !ToolRecordView()) return process;
    HANDLE thread = Create(program.c_str(), "\"" + program + "\"", "", CREATE_SUSPENDED,
                           &process.handle_, &process.id_, &process.error_);
    if (!thread) return process;
    process.watch_ = ThreadHook("E2EShowHook", GetThreadId(thread), process.handle_);
    if (!process.watch_) {
        // Unwatched, the test could not tell a window that was never shown from one it
        // did not see: the start fails.
        Process failed;
        failed.error_ = process.watch_.error();
        TerminateProcess(process.handle_, 1);
        CloseHandle(thread);
        return failed;
    }
    ResumeThread(thread);
    CloseHandle(thread);
    return process;
}

std::vector<std::string> ShownWindows() { return Lines(ShownView()); }

std::vector<unsigned> ToolRecordSizes() {
    std::vector<unsigned> sizes;
    for (const std::string& line : Lines(ToolRecordView()))
        sizes.push_back(static_cast<unsigned>(std::stoul(line)));
    return sizes;
}

void ClearShownWindows() {
    if (char* view = ShownView()) view[0] = '\0';
    if (char* view = ToolRecordView()) view[0] = '\0';
}

Process Process::StartCommandLine(const std::string& commandLine) {
    Process process;
    Create(nullptr, commandLine, "", 0, &process.handle_, &process.id_, &process.error_);
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
