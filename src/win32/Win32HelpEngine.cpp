#include "win32/Win32HelpEngine.h"

#include <windows.h>

#include "win32/Shell32.h"

namespace tarvesk {

namespace {

// The window class of the WinHelp viewer's main window.
constexpr char kViewerClass[] = "MS_WINHELP";

HWND windowOf(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

unsigned long Win32HelpEngine::windowsMajorVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) ? info.dwMajorVersion : 0;
}

bool Win32HelpEngine::winHelpContents(std::uintptr_t owner, const std::string& helpFile) {
    static_assert(HELP_CONTENTS == 3);
    return WinHelpA(windowOf(owner), helpFile.c_str(), HELP_CONTENTS, 0) != FALSE;
}

bool Win32HelpEngine::winHelpViewerShown() {
    const HWND viewer = FindWindowA(kViewerClass, nullptr);
    return viewer && IsWindowVisible(viewer);
}

void Win32HelpEngine::openDocument(std::uintptr_t owner, const std::string& path) {
    shell32::Open(windowOf(owner), path.c_str());
}

}  // namespace tarvesk
