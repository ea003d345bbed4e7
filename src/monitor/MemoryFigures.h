#pragma once
// Physical memory as the program shows and judges it, from the bytes the memory status
// reports: whole kilobytes and megabytes, the share free, the tray's gauge picture and the
// alarm that starts automatic optimization.
#include <cstdint>

namespace tarvesk {

inline constexpr std::int64_t kKilobyte = 1024;
inline constexpr std::int64_t kMegabyte = 1024 * kKilobyte;

// A quotient by 1024 to the nearest whole number, a value halfway going to the even one:
// kilobytes from bytes, and megabytes from kilobytes that were already rounded
// (1,572,352 bytes are 1535.5 KB, so 1536 KB, so 2 MB).
std::int64_t WholeKilobytes(std::uint64_t bytes);
std::int64_t WholeMegabytes(std::int64_t kilobytes);

// The share of memory free, in whole percent (halves to even): 51200 of 131072 KB is 39.
// 0 when the total is not positive; never more than 255.
std::uint8_t FreePercentOf(std::int64_t freeKB, std::int64_t totalKB);

// The tray icon's gauge for `availBytes` free out of `totalKB` (the rounded start-up total).
// Free memory is taken in unrounded kilobytes and compared with 1 KB and with a twentieth,
// a quarter and a half of the total; a value on a bound takes the lower picture.
int GaugePicture(std::uint64_t availBytes, std::int64_t totalKB);

// Automatic optimization is due when it is switched on (the flag is exactly 1) and free
// memory, in unrounded megabytes, is strictly below the alarm level.
bool AutomaticOptimizationDue(std::uint8_t autoOptimize, std::uint64_t availBytes,
                              std::int32_t alarmLevelMB);

}  // namespace tarvesk
