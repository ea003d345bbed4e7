#include "win32/Win32ProcessLauncher.h"

#include <windows.h>

#include <string>

#include "settings/CommandLine.h"
#include "win32/ScopedHandles.h"

namespace tarvesk {

namespace {

// The system's wording for an error code, without its line break, and the code itself.
std::string ErrorText(DWORD code) {
    ScopedLocalText buffer;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(buffer.receive()), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer.get(), length) : std::string();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "Error";
    return text + " (error " + std::to_string(code) + ")";
}

}  // namespace

std::string Win32ProcessLauncher::launch(const std::string& programPath) {
    std::string commandLine = QuotedCommandLine(programPath);  // CreateProcessA may write to it

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return ErrorText(GetLastError());
    ScopedHandle processHandle(process.hProcess);
    ScopedHandle threadHandle(process.hThread);
    return {};
}

}  // namespace tarvesk
