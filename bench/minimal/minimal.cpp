// The yardstick for Tarvesk.exe's footprint: the least a Win32 program with a window and
// a one-second timer can be. One empty top-level window, a 1000 ms timer whose ticks do
// nothing, and the message loop. Built with the same compiler and link flags as the
// programs it is compared with.
//
// Built with TARVESK_MINIMAL_WITH_LIBRARIES it also loads the system libraries that a
// program with common controls and a tray icon brings in (the common controls, and the
// shell with what it pulls in), which tells how much of a footprint is the system's own.
//
// Built with TARVESK_MINIMAL_LEAKS it leaks on every tick (64 KB of written memory and an
// event handle), the known-bad program that shows the soak catches a leak.
#include <windows.h>
#ifdef TARVESK_MINIMAL_WITH_LIBRARIES
#include <commctrl.h>
#endif

namespace {

constexpr UINT_PTR kTimerId = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
#ifdef TARVESK_MINIMAL_LEAKS
        if (void* lost = HeapAlloc(GetProcessHeap(), 0, 65536)) FillMemory(lost, 65536, 1);
        CreateEventA(nullptr, FALSE, FALSE, nullptr);
#endif
        return 0;
    case WM_DESTROY:
        KillTimer(window, kTimerId);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
#ifdef TARVESK_MINIMAL_WITH_LIBRARIES
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    LoadLibraryA("shell32.dll");
#endif
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "TarveskMinimal";
    if (!RegisterClassA(&windowClass)) return 1;

    HWND window = CreateWindowExA(0, "TarveskMinimal", "Minimal", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    SetTimer(window, kTimerId, 1000, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
