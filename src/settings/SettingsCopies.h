#pragma once
#include <cstdint>

namespace tarvesk {

// The main program's in-memory copies of four settings. Start-up fills them from the
// store; the Configuration dialog's Done replaces all four, and the tray menu's toggle
// replaces AutoOptimize. The one-second tick and the tray icon read only these copies.
struct SettingsCopies {
    std::uint8_t AutoOptimize = 0;    // automatic optimization is on only when this is 1
    std::int32_t AlarmLevelMB = 0;    // free megabytes below which the tick optimizes
    std::int32_t FreeAtAlarmMB = 0;   // megabytes to free when the alarm level is reached
    std::uint8_t TrayTipInMB = 0;     // non-zero: the tooltip shows megabytes
};

}  // namespace tarvesk
