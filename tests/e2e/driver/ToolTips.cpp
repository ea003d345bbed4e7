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

}  // namespace e2e
