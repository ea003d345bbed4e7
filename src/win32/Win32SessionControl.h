#pragma once
#include "platform/Session.h"
#include "win32/SystemFallbacks.h"
#include "win32/SystemFunction.h"

namespace tarvesk {

// Log off, reboot and shut down through ExitWindowsEx: no force flag, result not read.
// On the NT line, reboot and shut down first enable the process's shut-down privilege,
// without which NT refuses them; Windows 95, 98 and ME have no privileges, and the token
// functions are not called there at all. Those functions are found at run time, so the
// program loads where advapi32.dll lacks them.
class Win32SessionControl : public SessionControl {
public:
    explicit Win32SessionControl(bool windowsNT = IsWindowsNT(),
                                 SystemFunctionFinder find = FindSystemFunction)
        : windowsNT_(windowsNT), find_(find) {}
    void exitWindows(SessionEnd how) override;

private:
    bool windowsNT_;
    SystemFunctionFinder find_;
};

}  // namespace tarvesk
