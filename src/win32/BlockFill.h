#pragma once
// Writing the optimizer's block: every byte of it, as 16-bit space characters.
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tarvesk {

// Writes `bytes` bytes at `data` as 16-bit space characters, low byte first (0x20 0x00
// pairs; an odd last byte gets 0x20). One page is written byte by byte and then copied
// over the rest, which runs at the speed of the library's block copy.
inline void FillWithSpaces(void* data, std::size_t bytes) {
    constexpr std::size_t kChunk = 4096;   // even, so every copy starts on a character
    auto* p = static_cast<unsigned char*>(data);
    const std::size_t first = std::min(bytes, kChunk);
    for (std::size_t i = 0; i < first; ++i) p[i] = i % 2 == 0 ? 0x20 : 0x00;
    for (std::size_t done = first; done < bytes; done += kChunk) {
        std::memcpy(p + done, p, std::min(kChunk, bytes - done));
    }
}

}  // namespace tarvesk
