#pragma once
#include "platform/MemoryStatus.h"

namespace tarvesk {

// Physical memory from GlobalMemoryStatusEx, as 64-bit byte counts.
class Win32MemoryStatus : public MemoryStatusSource {
public:
    MemoryFigures sample() override;
};

}  // namespace tarvesk
