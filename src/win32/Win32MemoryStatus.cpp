#include "win32/Win32MemoryStatus.h"

#include <algorithm>
#include <cstdint>

namespace tarvesk {

Win32MemoryStatus::Win32MemoryStatus(SystemFunctionFinder find)
    : statusEx_(SystemFunction<GlobalMemoryStatusExFn>("kernel32.dll", "GlobalMemoryStatusEx", find)),
      status_(SystemFunction<GlobalMemoryStatusFn>("kernel32.dll", "GlobalMemoryStatus", find)) {}

MemoryFigures Win32MemoryStatus::sample() {
    if (statusEx_) {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        if (statusEx_(&status)) return {status.ullTotalPhys, status.ullAvailPhys};
    }
    if (!status_) return {};
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    status_(&status);
    return LegacyMemoryFigures(status);
}

MemoryFigures LegacyMemoryFigures(const MEMORYSTATUS& status) {
    const std::uint64_t total = status.dwTotalPhys;
    return {total, std::min<std::uint64_t>(status.dwAvailPhys, total)};
}

}  // namespace tarvesk
