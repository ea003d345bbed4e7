#pragma once
#include <windows.h>

#include "platform/MemoryStatus.h"
#include "win32/SystemFunction.h"

namespace tarvesk {

// Physical memory as 64-bit byte counts: from GlobalMemoryStatusEx where Windows has it
// (2000 and later), else from GlobalMemoryStatus (LegacyMemoryFigures).
class Win32MemoryStatus : public MemoryStatusSource {
public:
    explicit Win32MemoryStatus(SystemFunctionFinder find = FindSystemFunction);
    MemoryFigures sample() override;

private:
    using GlobalMemoryStatusExFn = BOOL(WINAPI*)(MEMORYSTATUSEX*);
    using GlobalMemoryStatusFn = void(WINAPI*)(MEMORYSTATUS*);
    GlobalMemoryStatusExFn statusEx_;
    GlobalMemoryStatusFn status_;
};

// The figures of the old record. Its counts are as wide as a pointer: in a 32-bit program
// Windows 2000 and later report 4 GB or more as 4 GB - 1 (all bits set), earlier versions
// the true amount modulo 4 GB. The systems that only have this record (95, 98, ME, NT 4.0)
// address at most 4 GB; available memory is never reported above the total.
MemoryFigures LegacyMemoryFigures(const MEMORYSTATUS& status);

}  // namespace tarvesk
