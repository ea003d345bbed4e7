#pragma once
#include "platform/Session.h"

namespace tarvesk {

// Log off, reboot and shut down through ExitWindowsEx: no force flag, result not read.
// Reboot and shut down first enable the process's shut-down privilege, without which
// NT-family Windows refuses them.
class Win32SessionControl : public SessionControl {
public:
    void exitWindows(SessionEnd how) override;
};

}  // namespace tarvesk
