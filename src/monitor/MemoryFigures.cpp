#include "monitor/MemoryFigures.h"

#include "resource_ids.h"
#include "settings/Conversions.h"

namespace tarvesk {

namespace {
std::int64_t nextUnit(double smaller) {
    return static_cast<std::int64_t>(RoundHalfEven(smaller / static_cast<double>(kKilobyte)));
}
}  // namespace

std::int64_t WholeKilobytes(std::uint64_t bytes) { return nextUnit(static_cast<double>(bytes)); }

std::int64_t WholeMegabytes(std::int64_t kilobytes) { return nextUnit(static_cast<double>(kilobytes)); }

std::uint8_t FreePercentOf(std::int64_t freeKB, std::int64_t totalKB) {
    if (totalKB <= 0) return 0;
    return ToByte(static_cast<double>(freeKB) / static_cast<double>(totalKB) * 100.0);
}

int GaugePicture(std::uint64_t availBytes, std::int64_t totalKB) {
    const double freeKB = static_cast<double>(availBytes) / static_cast<double>(kKilobyte);
    const double total = static_cast<double>(totalKB);
    if (freeKB <= 1) return IDI_GAUGE_EMPTY;
    if (freeKB <= (1.0 / 20.0) * total) return IDI_GAUGE_LOW;
    if (freeKB <= (1.0 / 4.0) * total) return IDI_GAUGE_QUARTER;
    if (freeKB <= (1.0 / 2.0) * total) return IDI_GAUGE_HALF;
    return IDI_GAUGE_HIGH;
}

bool AutomaticOptimizationDue(std::uint8_t autoOptimize, std::uint64_t availBytes,
                              std::int32_t alarmLevelMB) {
    const double freeMB = static_cast<double>(availBytes) / static_cast<double>(kMegabyte);
    return autoOptimize == 1 && freeMB < alarmLevelMB;
}

}  // namespace tarvesk
