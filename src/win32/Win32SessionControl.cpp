#include "win32/Win32SessionControl.h"

#include <windows.h>

namespace tarvesk {

static_assert(static_cast<UINT>(SessionEnd::LogOff) == EWX_LOGOFF);
static_assert(static_cast<UINT>(SessionEnd::ShutDown) == EWX_SHUTDOWN);
static_assert(static_cast<UINT>(SessionEnd::Reboot) == EWX_REBOOT);

namespace {

// A kernel handle closed when it goes out of scope.
class ScopedHandle {
public:
    ScopedHandle() = default;
    ~ScopedHandle() {
        if (handle_) CloseHandle(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE* receive() { return &handle_; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// Enables the shut-down privilege in the process's token. A failure is left for
// ExitWindowsEx to report by refusing, which the program ignores anyway.
void enableShutdownPrivilege(SystemFunctionFinder find) {
    using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE*);
    using LookupPrivilegeValueAFn = BOOL(WINAPI*)(const char*, const char*, LUID*);
    using AdjustTokenPrivilegesFn =
        BOOL(WINAPI*)(HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*);
    auto openProcessToken = SystemFunction<OpenProcessTokenFn>("advapi32.dll", "OpenProcessToken", find);
    auto lookupPrivilegeValue =
        SystemFunction<LookupPrivilegeValueAFn>("advapi32.dll", "LookupPrivilegeValueA", find);
    auto adjustTokenPrivileges =
        SystemFunction<AdjustTokenPrivilegesFn>("advapi32.dll", "AdjustTokenPrivileges", find);
    if (!openProcessToken || !lookupPrivilegeValue || !adjustTokenPrivileges) return;

    ScopedHandle token;
    if (!openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive()))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
    adjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

void Win32SessionControl::exitWindows(SessionEnd how) {
    if (how != SessionEnd::LogOff && windowsNT_) enableShutdownPrivilege(find_);
    using ExitWindowsExFn = BOOL(WINAPI*)(UINT, DWORD);
    if (auto exitWindowsEx = SystemFunction<ExitWindowsExFn>("user32.dll", "ExitWindowsEx", find_))
        exitWindowsEx(static_cast<UINT>(how), 0);
}

}  // namespace tarvesk
