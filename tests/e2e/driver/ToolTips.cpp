#include "ToolTips.h"

#include <commctrl.h>

#include "Driver.h"
#include "Remote.h"

namespace e2e {

std::optional<std::string> ControlToolTip(HWND form, HWND control) {
    DWORD processId = ProcessOf(form);
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                         PROCESS_QUERY_INFORMATION,
                                     FALSE, processId));
    if (!process) return std::nullopt;
    for (HWND tooltip : TopLevelWindows(processId, TOOLTIPS_CLASSA)) {
        if (GetWindow(tooltip, GW_OWNER) != form) continue;
        for (const RemoteTool& tool : RemoteTools(tooltip, process.get()))
            // A text by reference or callback is not readable here.
            if ((tool.flags & TTF_IDISHWND) && tool.window == form &&
                tool.id == reinterpret_cast<UINT_PTR>(control))
                return tool.text;
    }
    return std::nullopt;
}

bool WaitForShownToolTip(HWND control, const std::string& text, DWORD timeoutMs) {
    RECT rect{};
    if (!GetWindowRect(control, &rect)) return false;
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    const DWORD processId = ProcessOf(control);
    auto shown = [&] {
        for (HWND tooltip : TopLevelWindows(processId, TOOLTIPS_CLASSA))
            if (IsWindowVisible(tooltip) && WindowText(tooltip) == text) return true;
        return false;
    };
    // The tooltip learns of the pointer from the control's mouse moves and shows itself
    // once the pointer has rested there for its delay; every further move starts the
    // delay again, so the pointer comes once and then rests. The real pointer moves, and
    // a move is posted in case that sent none.
    const DWORD start = GetTickCount();
    do {
        SetCursorPos(centre.x, centre.y);
        POINT client = centre;
        ScreenToClient(control, &client);
        PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        if (WaitUntil(shown, 3000)) return true;
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

}  // namespace e2e
