#pragma once
#include <cstdint>
#include <memory>

#include "platform/BlockAllocator.h"

namespace tarvesk {

// Blocks of committed virtual memory, written in full with 16-bit space characters and
// released with VirtualFree when the block is destroyed. A block that cannot be had, or
// whose size does not fit this process's address space, comes back as nullptr.
class Win32BlockAllocator : public BlockAllocator {
public:
    std::unique_ptr<MemoryBlock> obtainWritten(std::uint64_t bytes) override;
};

}  // namespace tarvesk
