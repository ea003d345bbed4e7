#pragma once
#include <cstdint>
#include <string>

#include "platform/MemoryStatus.h"
#include "platform/TrayShell.h"

namespace tarvesk {

// The main program's shared values: memory figures, in-memory copies of settings and
// the tray record. Memory figures are 64-bit so machines far beyond 2 GB read right.
struct modMain {
    // Memory figures.
    MemoryFigures MemStatus;
    std::int64_t TotalKB = 0;
    std::int64_t TotalMB = 0;
    std::int64_t FreeKB = 0;
    std::int64_t FreeMB = 0;
    std::uint8_t FreePercent = 0;

    // In-memory copies of settings.
    std::uint8_t AutoOptimize = 0;    // automatic optimization is on only when this is 1
    std::int32_t AlarmLevelMB = 0;
    std::int32_t FreeAtAlarmMB = 0;
    std::uint8_t TrayTipInMB = 0;     // non-zero: the tooltip shows megabytes

    // The tray icon.
    TrayIconRecord TrayIconData;
    int TrayPicture = 0;              // icon resource id
    std::string TrayTip;              // last tooltip built, with its final NUL

    // The program's help file.
    std::string HelpFile;
};

}  // namespace tarvesk
