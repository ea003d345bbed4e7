#include <memory>

#include "Driver.h"
#include "Remote.h"

#include <commctrl.h>

namespace e2e {

namespace {


// Every tool of one tooltip window of the shell, read inside the shell's process.
void ReadTools(HWND tooltip, HANDLE shell, std::vector<TrayIcon>& icons) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return;
    constexpr SIZE_T kTextOffset = 1024, kTextChars = 1024;
    RemoteBlock block(shell, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!block.get()) return;
    for (DWORD_PTR i = 0; i < count; ++i) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<wchar_t*>(block.get() + kTextOffset);
        wchar_t empty = 0;
        SIZE_T done = 0;
        if (!WriteProcessMemory(shell, block.get(), &info, sizeof info, &done) ||
            !WriteProcessMemory(shell, block.get() + kTextOffset, &empty, sizeof empty, &done))
            return;
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(block.get()),
                            SMTO_ABORTIFHUNG, 5000, &ok);
        if (!ok) continue;
        wchar_t text[kTextChars] = {};
        if (!ReadProcessMemory(shell, block.get(), &info, sizeof info, &done) ||
            !ReadProcessMemory(shell, block.get() + kTextOffset, text, sizeof text - sizeof(wchar_t),
                               &done))
            continue;
        // Wine keeps the tooltip of a deleted icon, with an empty rectangle, as it does for
        // a hidden one: only icons drawn in the taskbar count.
        if (IsRectEmpty(&info.rect)) continue;
        TrayIcon icon;
        icon.rect = info.rect;
        // A text handed back by reference (callback or resource) is not the shell's copy.
        if (info.lpszText == reinterpret_cast<wchar_t*>(block.get() + kTextOffset))
            icon.tip = Narrow(text);
        icons.push_back(icon);
    }
}

}  // namespace

std::vector<TrayIcon> TrayIcons() {
    std::vector<TrayIcon> icons;
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return icons;
    DWORD shellId = ProcessOf(tray);
    UniqueHandle shell(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                       PROCESS_QUERY_INFORMATION,
                                   FALSE, shellId));
    if (!shell) return icons;
    for (HWND tooltip : TopLevelWindows(shellId, TOOLTIPS_CLASSA))
        if (GetWindow(tooltip, GW_OWNER) == tray) ReadTools(tooltip, shell.get(), icons);
    return icons;
}

bool HasTrayIcon(const std::string& tip) {
    for (const TrayIcon& icon : TrayIcons())
        if (icon.tip == tip) return true;
    return false;
}

std::optional<std::string> WaitForTrayIcon(const std::function<bool(const std::string&)>& match,
                                           DWORD timeoutMs) {
    std::optional<std::string> found;
    WaitUntil(
        [&] {
            for (const TrayIcon& icon : TrayIcons())
                if (match(icon.tip)) {
                    found = icon.tip;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

void PostTrayNotification(HWND owner, UINT iconId, UINT mouseMessage) {
    PostMessageA(owner, WM_MOUSEMOVE, iconId, static_cast<LPARAM>(mouseMessage));
}

namespace {

// Wine's taskbar keeps one button per window, a child whose control ID is the window; the
// Start button's is 0. Without the shell there is no taskbar, only the notification area.
HWND FindTaskbarButton(HWND window) {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar || !IsWindowVisible(taskbar)) return nullptr;
    for (HWND button = FindWindowExA(taskbar, nullptr, "Button", nullptr); button;
         button = FindWindowExA(taskbar, button, "Button", nullptr))
        if (reinterpret_cast<HWND>(GetWindowLongPtrA(button, GWLP_ID)) == window) return button;
    return nullptr;
}

}  // namespace

bool TaskbarShown() { return FindTaskbarButton(nullptr) != nullptr; }

TaskbarButton TaskbarButtonOf(HWND window) {
    HWND button = window ? FindTaskbarButton(window) : nullptr;
    if (!button) return TaskbarButton::None;
    return IsWindowVisible(button) ? TaskbarButton::Shown : TaskbarButton::Hidden;
}

bool HasTaskbarButton(HWND window) { return TaskbarButtonOf(window) == TaskbarButton::Shown; }

}  // namespace e2e
