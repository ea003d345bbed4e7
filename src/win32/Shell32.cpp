#include "win32/Shell32.h"

namespace tarvesk::shell32 {

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data, SystemFunctionFinder find) {
    using Function = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    auto function = SystemFunction<Function>("shell32.dll", "Shell_NotifyIconA", find);
    return function ? function(message, data) : FALSE;
}

void Open(HWND owner, const char* file) {
    using Function = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    auto function = SystemFunction<Function>("shell32.dll", "ShellExecuteA");
    if (function) function(owner, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarvesk::shell32
