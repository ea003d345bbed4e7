#pragma once
// The optimizer's arithmetic: how much a request frees, how many progress steps it takes,
// and the block sizes it tries. A request is in bytes (megabytes x 1,048,576); the block
// holds that many 16-bit space characters, so it takes twice as many bytes.
#include <cstdint>

#include "monitor/MemoryFigures.h"

namespace tarvesk {

inline constexpr int kProgressStepsPerMegabyte = 20;

// Requests up to 2047 MB are freed as asked, even beyond the machine's memory (1000 MB on
// a 512 MB machine tries a 2000 MB block, then half). A request of 2048 MB or more, which
// a 32-bit byte count cannot hold, frees at most the machine's memory, `totalMB`.
inline constexpr std::int64_t kFirstCappedRequest = 2048 * kMegabyte;
std::int64_t BytesToFree(std::int64_t requestedBytes, std::int64_t totalMB);

// Progress steps for a request: 20 per megabyte, the megabytes rounded to the nearest whole
// number (halves to even); 0 for nothing to free.
std::int64_t ProgressSteps(std::int64_t bytes);

// The block for a request, in bytes: `bytes` characters of two bytes each; and the one retry
// when that cannot be had: half as many characters, rounded to the nearest whole number
// (halves to even). Both 0 for nothing to free.
std::uint64_t BlockBytes(std::int64_t bytes);
std::uint64_t HalfBlockBytes(std::int64_t bytes);

}  // namespace tarvesk
