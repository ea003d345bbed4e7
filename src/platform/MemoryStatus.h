#pragma once
#include <cstdint>

namespace tarvesk {

// Physical memory at the moment of a sample, in bytes.
struct MemoryFigures {
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
};

// The operating system's memory status.
class MemoryStatusSource {
public:
    virtual ~MemoryStatusSource() = default;
    virtual MemoryFigures sample() = 0;
};

}  // namespace tarvesk
