// Stands in for a help viewer that starts and takes WinHelp's requests but never appears:
// it makes the viewer's window class, answers every request as done, and keeps its window
// hidden until it is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.lpszClassName = "MS_WINHELP";
    if (!RegisterClassA(&type)) return 1;
    if (!CreateWindowA("MS_WINHELP", "Hidden Help", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                       instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
