#pragma once
// Counters that the tick hook (tickhook.cpp), running inside the observed program, keeps
// in shared memory for the probe (measure.cpp). The probe creates the memory under
// kCountersName and fills in the window to watch before it installs the hooks.
#include <windows.h>

namespace probe {

inline constexpr const char* kCountersName = "TarveskProbeCounters";

struct Counters {
    HWND mainWindow;          // the window whose timer ticks are counted (set by the probe)
    int barId;                // control ID of the progress bar that each optimization runs
    volatile LONG ticks;      // WM_TIMER messages the main window took from its queue
    volatile LONG titleSets;  // WM_SETTEXT messages sent to the main window
    volatile LONG optimizations;  // runs of the bar: set back to 0 after a non-zero position
    volatile LONG lastBarPos;
    volatile DWORD lastTickMs;    // GetTickCount at the last tick
    volatile DWORD maxTickGapMs;  // longest time between two ticks
};

}  // namespace probe
