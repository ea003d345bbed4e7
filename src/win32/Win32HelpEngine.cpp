#include "win32/Win32HelpEngine.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/Shell32.h"
#include "win32/SystemFunction.h"

#include <string>

#include "platform/HelpPage.h"

namespace tarvesk {

namespace {

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool winHelpFileInWindowsFolder() {
    char folder[MAX_PATH + 1];
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return false;
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    return isFile(path + "winhlp32.exe");
}

bool runningOnWine() { return FindSystemFunction("ntdll.dll", "wine_get_version") != nullptr; }

// The major version of Windows as the kernel reports it (unaffected by compatibility
// shims); 0 when it cannot be asked.
unsigned long windowsMajorVersion() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = SystemFunction<RtlGetVersionFn>("ntdll.dll", "RtlGetVersion");
    if (!rtlGetVersion) return 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (rtlGetVersion(&info) != 0) return 0;
    return info.dwMajorVersion;
}

// From Vista on, winhlp32.exe in the Windows folder is only a stand-in that says the
// engine is missing, so its presence counts only on older Windows and on Wine.
bool winHelpAvailable() {
    if (!winHelpFileInWindowsFolder()) return false;
    return runningOnWine() || windowsMajorVersion() < 6;
}

}  // namespace

void Win32HelpEngine::showContents(std::uintptr_t owner, const std::string& helpFile) {
    static_assert(HELP_CONTENTS == 3);
    const HWND window = reinterpret_cast<HWND>(owner);
    if (winHelpAvailable()) {
        WinHelpA(window, helpFile.c_str(), HELP_CONTENTS, 0);
        return;
    }
    const std::string page = HtmlPageBeside(helpFile);
    shell32::Open(window, page.c_str());
}

}  // namespace tarvesk
