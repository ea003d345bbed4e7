#pragma once
#include <cstdint>
#include <memory>

namespace tarvesk {

// A block of memory that was obtained and written in full; released when destroyed.
class MemoryBlock {
public:
    virtual ~MemoryBlock() = default;
};

// Obtains memory blocks for the optimizer.
class BlockAllocator {
public:
    virtual ~BlockAllocator() = default;
    // Obtains `bytes` bytes, writes every one of them, and hands the block back;
    // nullptr when the block cannot be had. Never throws.
    virtual std::unique_ptr<MemoryBlock> obtainWritten(std::uint64_t bytes) = 0;
};

}  // namespace tarvesk
