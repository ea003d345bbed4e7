#include "monitor/OptimizerAmounts.h"

#include <algorithm>

namespace tarvesk {

namespace {

constexpr std::uint64_t kBytesPerCharacter = 2;

// n / d for n >= 0 and d > 0, to the nearest whole number, a half going to the even one.
std::int64_t roundedQuotient(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    std::int64_t rest = n % d;
    // Twice the rest, compared without doubling it: rest < d, so d - rest cannot overflow.
    if (rest > d - rest || (rest == d - rest && q % 2 != 0)) ++q;
    return q;
}

}  // namespace

std::int64_t BytesToFree(std::int64_t requestedBytes, std::int64_t totalMB) {
    if (requestedBytes < kFirstCappedRequest) return requestedBytes;
    const std::int64_t machineMB = std::max<std::int64_t>(totalMB, 0);
    // The product fits: machineMB is at most requestedBytes / kMegabyte there.
    return requestedBytes / kMegabyte >= machineMB ? machineMB * kMegabyte : requestedBytes;
}

std::int64_t ProgressSteps(std::int64_t bytes) {
    if (bytes <= 0) return 0;
    return roundedQuotient(bytes, kMegabyte) * kProgressStepsPerMegabyte;
}

std::uint64_t BlockBytes(std::int64_t bytes) {
    if (bytes <= 0) return 0;
    return static_cast<std::uint64_t>(bytes) * kBytesPerCharacter;
}

std::uint64_t HalfBlockBytes(std::int64_t bytes) {
    if (bytes <= 0) return 0;
    return static_cast<std::uint64_t>(roundedQuotient(bytes, 2)) * kBytesPerCharacter;
}

}  // namespace tarvesk
