#include "win32/Dpi.h"

#include "win32/ScopedHandles.h"
#include "win32/SystemFunction.h"

namespace tarvesk::dpi {

namespace {

// The functions' own types, written out: the headers declare them only for the newer
// Windows versions that have them.
using SetProcessDpiAwarenessContextFn = BOOL(WINAPI*)(HANDLE context);
using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int awareness);
using SetProcessDPIAwareFn = BOOL(WINAPI*)();
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND window);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR monitor, int type, UINT* x, UINT* y);
using MonitorFromRectFn = HMONITOR(WINAPI*)(const RECT* rect, DWORD flags);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT* rect, DWORD style, BOOL menu,
                                                 DWORD exStyle, UINT dpi);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int index, UINT dpi);

const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const auto kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;   // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kEffectiveDpi = 0;                // MDT_EFFECTIVE_DPI
constexpr DWORD kMonitorDefaultToNearest = 2;   // MONITOR_DEFAULTTONEAREST

template <typename Function>
Function user32(const char* name) {
    return SystemFunction<Function>("user32.dll", name);
}

// The shell's scaling functions (Windows 8.1 and later), looked for only on a Windows that
// has DPI awareness at all (Vista and later).
template <typename Function>
Function shcore(const char* name) {
    if (!user32<SetProcessDPIAwareFn>("SetProcessDPIAware")) return nullptr;
    return SystemFunction<Function>("shcore.dll", name);
}

int usable(UINT dpi) { return dpi >= 48 && dpi <= 1536 ? static_cast<int>(dpi) : kStandard; }

}  // namespace

void BecomeAware() {
    if (auto setContext = user32<SetProcessDpiAwarenessContextFn>("SetProcessDpiAwarenessContext")) {
        // Refused when the manifest has already made the process aware; then that stands.
        if (!setContext(kPerMonitorAwareV2) && GetLastError() != ERROR_ACCESS_DENIED)
            setContext(kPerMonitorAware);
        return;
    }
    if (auto setAwareness = shcore<SetProcessDpiAwarenessFn>("SetProcessDpiAwareness")) {
        setAwareness(kProcessPerMonitorDpiAware);
        return;
    }
    if (auto setAware = user32<SetProcessDPIAwareFn>("SetProcessDPIAware")) setAware();
}

int ForSystem() {
    if (auto get = user32<GetDpiForSystemFn>("GetDpiForSystem")) return usable(get());
    WindowDC screen(nullptr);
    return screen ? usable(static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSX))) : kStandard;
}

int ForWindow(HWND window) {
    if (auto get = user32<GetDpiForWindowFn>("GetDpiForWindow")) {
        if (UINT dpi = get(window)) return usable(dpi);
    }
    RECT rect{};
    if (GetWindowRect(window, &rect)) return ForRect(rect);
    return ForSystem();
}

int ForRect(const RECT& screen) {
    auto getForMonitor = shcore<GetDpiForMonitorFn>("GetDpiForMonitor");
    auto monitorFromRect = user32<MonitorFromRectFn>("MonitorFromRect");
    if (getForMonitor && monitorFromRect) {
        UINT x = 0, y = 0;
        HMONITOR monitor = monitorFromRect(&screen, kMonitorDefaultToNearest);
        if (monitor && getForMonitor(monitor, kEffectiveDpi, &x, &y) == S_OK) return usable(x);
    }
    return ForSystem();
}

void AdjustWindowRect(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, int dpi) {
    if (auto adjust = user32<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi")) {
        if (adjust(&rect, style, hasMenu ? TRUE : FALSE, exStyle, static_cast<UINT>(dpi))) return;
    }
    AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle);
}

int SystemMetric(int index, int dpi) {
    if (auto get = user32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi"))
        return get(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

}  // namespace tarvesk::dpi
