#include "win32/Shell32.h"

namespace tarvesk::shell32 {

namespace {

// Owns the loaded library for the rest of the run.
class Library {
public:
    Library() : module_(LoadLibraryA("shell32.dll")) {}
    ~Library() {
        if (module_) FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    FARPROC find(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

private:
    HMODULE module_;
};

FARPROC find(const char* name) {
    static Library library;
    return library.find(name);
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
