#pragma once
#include <cstdint>
#include <string>

#include "platform/MemoryStatus.h"
#include "platform/TrayShell.h"
#include "settings/SettingsCopies.h"

namespace tarvesk {

// The main program's shared values: memory figures, the in-memory copies of settings (the
// Configuration dialog edits those through SettingsCopies), the tray icon and the help file.
// Memory figures are 64-bit so machines far beyond 2 GB read right.
struct modMain : SettingsCopies {
    // Memory figures: the totals from start-up, the free figures from the latest tick.
    MemoryFigures MemStatus;
    std::int64_t TotalKB = 0;
    std::int64_t TotalMB = 0;
    std::int64_t FreeKB = 0;
    std::int64_t FreeMB = 0;
    std::uint8_t FreePercent = 0;

    // The tray icon.
    TrayIconRecord TrayIconData;
    int TrayPicture = 0;              // icon resource id
    std::string TrayTip;              // last tooltip built, with its final NUL

    // The program's help file.
    std::string HelpFile;
};

}  // namespace tarvesk
