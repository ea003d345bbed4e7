#include "ToolTips.h"

#include <commctrl.h>

#include <memory>

#include "Driver.h"
#include "Remote.h"

namespace e2e {

namespace {


// The text of the tool for `control` in one tooltip window, read inside `process`.
std::optional<std::string> ToolText(HWND tooltip, HANDLE process, HWND form, HWND control) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return std::nullopt;
    constexpr SIZE_T kTextOffset = 1024, kTextChars = 1024;
    RemoteBlock block(process, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!block.get()) return std::nullopt;
    for (DWORD_PTR i = 0; i < count; ++i) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<wchar_t*>(block.get() + kTextOffset);
        wchar_t empty = 0;
        SIZE_T done = 0;
        if (!WriteProcessMemory(process, block.get(), &info, sizeof info, &done) ||
            !WriteProcessMemory(process, block.get() + kTextOffset, &empty, sizeof empty, &done))
            return std::nullopt;
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(block.get()),
                            SMTO_ABORTIFHUNG, 5000, &ok);
        if (!ok) continue;
        if (!ReadProcessMemory(process, block.get(), &info, sizeof info, &done)) continue;
        bool isControl = (info.uFlags & TTF_IDISHWND) != 0 && info.hwnd == form &&
                         info.uId == reinterpret_cast<UINT_PTR>(control);
        if (!isControl) continue;
        wchar_t text[kTextChars] = {};
        if (info.lpszText != reinterpret_cast<wchar_t*>(block.get() + kTextOffset) ||
            !ReadProcessMemory(process, block.get() + kTextOffset, text,
                               sizeof text - sizeof(wchar_t), &done))
            return std::nullopt;   // a text by reference or callback is not readable here
        return Narrow(text);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ControlToolTip(HWND form, HWND control) {
    DWORD processId = ProcessOf(form);
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                         PROCESS_QUERY_INFORMATION,
                                     FALSE, processId));
    if (!process) return std::nullopt;
    for (HWND tooltip : TopLevelWindows(processId, TOOLTIPS_CLASSA)) {
        if (GetWindow(tooltip, GW_OWNER) != form) continue;
        if (auto text = ToolText(tooltip, process.get(), form, control)) return text;
    }
    return std::nullopt;
}

bool ToolTipShownFor(HWND form, HWND control) {
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                         PROCESS_QUERY_INFORMATION,
                                     FALSE, ProcessOf(form)));
    if (!process) return false;
    for (HWND tooltip : TopLevelWindows(ProcessOf(form), TOOLTIPS_CLASSA)) {
        if (GetWindow(tooltip, GW_OWNER) != form || !IsWindowVisible(tooltip)) continue;
        RemoteBlock block(process.get(), sizeof(TTTOOLINFOW));
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        SIZE_T done = 0;
        DWORD_PTR current = 0;
        if (!block.get() || !WriteProcessMemory(process.get(), block.get(), &info, sizeof info, &done) ||
            !SendMessageTimeoutW(tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(block.get()),
                                 SMTO_ABORTIFHUNG, 5000, &current) ||
            !current || !ReadProcessMemory(process.get(), block.get(), &info, sizeof info, &done))
            continue;
        if (info.uId == reinterpret_cast<UINT_PTR>(control)) return true;
    }
    return false;
}

}  // namespace e2e
