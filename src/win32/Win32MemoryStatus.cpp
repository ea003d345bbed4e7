#include "win32/Win32MemoryStatus.h"

#include <windows.h>

namespace tarvesk {

MemoryFigures Win32MemoryStatus::sample() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    return {status.ullTotalPhys, status.ullAvailPhys};
}

}  // namespace tarvesk
