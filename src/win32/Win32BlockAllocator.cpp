#include "win32/Win32BlockAllocator.h"

#include <windows.h>

#include <cstddef>
#include <limits>
#include <new>

#include "win32/BlockFill.h"

namespace tarvesk {

namespace {

// The one owner of a committed region; an empty block (no region) stands for zero bytes.
class VirtualBlock : public MemoryBlock {
public:
    explicit VirtualBlock(void* base) : base_(base) {}
    ~VirtualBlock() override {
        if (base_) VirtualFree(base_, 0, MEM_RELEASE);
    }
    VirtualBlock(const VirtualBlock&) = delete;
    VirtualBlock& operator=(const VirtualBlock&) = delete;

private:
    void* base_;
};

}  // namespace

std::unique_ptr<MemoryBlock> Win32BlockAllocator::obtainWritten(std::uint64_t bytes) {
    if (bytes > std::numeric_limits<std::size_t>::max()) return nullptr;   // beyond a 32-bit process
    const auto size = static_cast<std::size_t>(bytes);

    if (size == 0) return std::unique_ptr<MemoryBlock>(new (std::nothrow) VirtualBlock(nullptr));

    void* base = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base) return nullptr;
    std::unique_ptr<MemoryBlock> block(new (std::nothrow) VirtualBlock(base));
    if (!block) {
        VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    // Committed pages take physical memory only once written: write every byte. The
    // region is handed to VirtualFree later, so the compiler must keep every store.
    FillWithSpaces(base, size);
    return block;
}

}  // namespace tarvesk
