#include <memory>

#include "Driver.h"
#include "Remote.h"

#include <commctrl.h>

namespace e2e {

std::vector<TrayIcon> TrayIcons() {
    std::vector<TrayIcon> icons;
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return icons;
    DWORD shellId = ProcessOf(tray);
    UniqueHandle shell(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                       PROCESS_QUERY_INFORMATION,
                                   FALSE, shellId));
    if (!shell) return icons;
    for (HWND tooltip : TopLevelWindows(shellId, TOOLTIPS_CLASSA)) {
        if (GetWindow(tooltip, GW_OWNER) != tray) continue;
        for (const RemoteTool& tool : RemoteTools(tooltip, shell.get())) {
            // Wine keeps the tooltip of a deleted icon, with an empty rectangle, as it does
            // for a hidden one: only icons drawn in the taskbar count.
            if (IsRectEmpty(&tool.rect)) continue;
            TrayIcon icon;
            icon.rect = tool.rect;
            // A text handed back by reference (callback or resource) is not the shell's copy.
            icon.tip = tool.text.value_or("");
            icons.push_back(icon);
        }
    }
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

}  // namespace e2e
