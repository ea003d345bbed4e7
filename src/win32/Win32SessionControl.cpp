#include "win32/Win32SessionControl.h"

#include <windows.h>

#include "win32/ScopedHandles.h"

namespace tarvesk {

static_assert(static_cast<UINT>(SessionEnd::LogOff) == EWX_LOGOFF);
static_assert(static_cast<UINT>(SessionEnd::ShutDown) == EWX_SHUTDOWN);
static_assert(static_cast<UINT>(SessionEnd::Reboot) == EWX_REBOOT);

namespace {

// Enables the shut-down privilege in the process's token. A failure is left for
// ExitWindowsEx to report by refusing, which the program ignores anyway.
void enableShutdownPrivilege() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

}  // namespace

void Win32SessionControl::exitWindows(SessionEnd how) {
    if (how != SessionEnd::LogOff) enableShutdownPrivilege();
    ExitWindowsEx(static_cast<UINT>(how), 0);
}

}  // namespace tarvesk
