#include "win32/Shell32.h"

#include "win32/ScopedHandles.h"

namespace tarvesk::shell32 {

namespace {

// The library stays loaded for the rest of the run.
FARPROC find(const char* name) {
    static const ScopedLibrary library(LoadLibraryA("shell32.dll"));
    return library ? GetProcAddress(library.get(), name) : nullptr;
}

}  // namespace

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
    using Function = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(find("Shell_NotifyIconA")));
    return function ? function(message, data) : FALSE;
}

void Open(HWND owner, const char* file) {
    using Function = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(find("ShellExecuteA")));
    if (function) function(owner, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarvesk::shell32
