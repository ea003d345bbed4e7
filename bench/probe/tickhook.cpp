// tarvesk_tickhook.dll: counts, from inside an observed program, what its main window
// does each second, so that a soak can tell that every tick ran without the program
// counting anything itself. The probe installs TickGetMessageHook (WH_GETMESSAGE) and
// TickCallWndHook (WH_CALLWNDPROC) on the main window's thread; Windows loads this
// library into the program to run them. Counters live in the probe's shared memory.
#include <windows.h>
#include <commctrl.h>

#include "counters.h"

namespace {

// The probe's counters, mapped on first use; null when the probe has not made them.
probe::Counters* SharedCounters() {
    static probe::Counters* counters = [] {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, probe::kCountersName);
        if (!mapping) return static_cast<probe::Counters*>(nullptr);
        void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(probe::Counters));
        CloseHandle(mapping);   // the view keeps the memory
        return static_cast<probe::Counters*>(view);
    }();
    return counters;
}

void CountTick(probe::Counters& counters) {
    InterlockedIncrement(&counters.ticks);
    DWORD now = GetTickCount();
    DWORD last = counters.lastTickMs;
    if (last != 0 && now - last > counters.maxTickGapMs) counters.maxTickGapMs = now - last;
    counters.lastTickMs = now;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK TickGetMessageHook(int code, WPARAM wParam,
                                                                     LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto& message = *reinterpret_cast<const MSG*>(lParam);
        probe::Counters* counters = SharedCounters();
        if (counters && message.message == WM_TIMER && message.hwnd == counters->mainWindow)
            CountTick(*counters);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK TickCallWndHook(int code, WPARAM wParam,
                                                                  LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        probe::Counters* counters = SharedCounters();
        if (counters) {
            if (message.message == WM_SETTEXT && message.hwnd == counters->mainWindow) {
                InterlockedIncrement(&counters->titleSets);
            } else if (message.message == PBM_SETPOS && GetParent(message.hwnd) == counters->mainWindow &&
                       GetDlgCtrlID(message.hwnd) == counters->barId) {
                auto position = static_cast<LONG>(message.wParam);
                if (position == 0 && counters->lastBarPos > 0) InterlockedIncrement(&counters->optimizations);
                counters->lastBarPos = position;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
