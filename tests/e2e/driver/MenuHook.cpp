// e2e_menuhook.dll. The driver installs E2EMenuHook as a WH_CALLWNDPROC hook on the
// thread of a program under test; Windows loads this library into that program to run
// it. When the driver sends the registered message "TarveskE2E.DescribeMenu" to one of
// the program's windows, the hook writes a description of a menu into the shared memory
// the driver named: the menu handle in wParam (the window's menu bar when 0), the
// driver's process ID in lParam. One line per item, depth-first:
//   depth TAB flags TAB id TAB caption
// flags: S separator, C checked, G grayed, D default, H highlighted (selected in an open
// menu), P has a submenu ("-" for none).
// "TarveskE2E.DescribeSystem" answers the same way with what the program is told of the
// system it runs on:
//   system TAB major TAB minor TAB build TAB platform TAB GetVersion() in hex TAB
//   1 when kernel32 exports GlobalMemoryStatusEx, else 0
//
// The library is built for both bitnesses (e2e_menuhook32.dll for 32-bit programs): the
// answers are text, the same whoever reads them.
//
// The registered message "TarveskE2E.MeasureCaptions" to a window asks, the same way, for
// the captions of its controls as drawn there, one line per control with a caption:
//   id TAB kind TAB text width TAB text height TAB client width TAB client height TAB dpi
// kind: button, check (check box or option button), frame, label. A label's text is
// measured wrapped at its width, every other caption on one line, each with the font the
// control draws with.
//
// E2EShowHook, installed the same way on a program's first thread before it runs, appends
// "class TAB title" of every top-level window the program shows to the shared memory
// "TarveskE2EShown", which the driver created; and the record size (cbSize) of every tool
// record the thread hands a tooltip window, one number a line, to "TarveskE2EToolRecords".
#include <windows.h>
// After <windows.h>: the tooltip messages.
#include <commctrl.h>

#include <string>

namespace {

void Describe(HMENU menu, int depth, std::string& out) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char caption[512] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = sizeof caption - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        std::string flags;
        if (info.fType & MFT_SEPARATOR) {
            flags += 'S';   // a separator's state means nothing (Wine reports it grayed)
        } else {
            if (info.fState & MFS_CHECKED) flags += 'C';
            if (info.fState & MFS_GRAYED) flags += 'G';
            if (info.fState & MFS_DEFAULT) flags += 'D';
            if (info.fState & MFS_HILITE) flags += 'H';
        }
        if (info.hSubMenu) flags += 'P';
        if (flags.empty()) flags = "-";
        if (info.fType & MFT_SEPARATOR) caption[0] = '\0';
        out += std::to_string(depth) + '\t' + flags + '\t' +
               std::to_string(info.hSubMenu ? 0 : info.wID) + '\t' + caption + '\n';
        if (info.hSubMenu) Describe(info.hSubMenu, depth + 1, out);
    }
}

// One line for a control with a caption; nothing for other controls.
std::string MeasureCaption(HWND control) {
    char className[32] = {}, caption[512] = {};
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, caption, sizeof caption);
    if (!caption[0] || !IsWindowVisible(control)) return {};
    LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string kind;
    if (lstrcmpiA(className, "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: kind = "frame"; break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: kind = "check"; break;
        default: kind = "button"; break;
        }
    } else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
        kind = "label";
    } else {
        return {};
    }
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    if (!dc) return {};
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT text{0, 0, client.right, 0};
    DrawTextA(dc, caption, -1, &text, DT_CALCRECT | (kind == "label" ? DT_WORDBREAK : DT_SINGLELINE));
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return std::to_string(GetDlgCtrlID(control)) + '\t' + kind + '\t' +
           std::to_string(text.right - text.left) + '\t' + std::to_string(text.bottom - text.top) +
           '\t' + std::to_string(client.right) + '\t' + std::to_string(client.bottom) + '\t' +
           std::to_string(dpi) + '\n';
}

BOOL CALLBACK AddCaption(HWND control, LPARAM out) {
    *reinterpret_cast<std::string*>(out) += MeasureCaption(control);
    return TRUE;
}

std::string MeasureCaptions(HWND window) {
    std::string text = "captions\n";
    EnumChildWindows(window, &AddCaption, reinterpret_cast<LPARAM>(&text));
    return text;
}

// Copies `text` into the shared memory of the driver whose process ID is `driverId`.
void Reply(LPARAM driverId, const std::string& text) {
    std::string name = "TarveskE2EMenu" + std::to_string(static_cast<unsigned long>(driverId));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping) return;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) {
        MEMORY_BASIC_INFORMATION region{};
        VirtualQuery(view, &region, sizeof region);
        std::size_t room = region.RegionSize;
        if (room > text.size()) {
            CopyMemory(view, text.c_str(), text.size() + 1);
        }
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

void DescribeMenu(const CWPSTRUCT& message) {
    HMENU menu = message.wParam ? reinterpret_cast<HMENU>(message.wParam) : GetMenu(message.hwnd);
    std::string text = "menu\n";
    if (menu && IsMenu(menu)) Describe(menu, 0, text);
    Reply(message.lParam, text);
}

void DescribeSystem(const CWPSTRUCT& message) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return;
    char packed[16];
    wsprintfA(packed, "%08lx", static_cast<unsigned long>(GetVersion()));
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    bool statusEx = kernel && GetProcAddress(kernel, "GlobalMemoryStatusEx");
    Reply(message.lParam, "system\t" + std::to_string(version.dwMajorVersion) + '\t' +
                              std::to_string(version.dwMinorVersion) + '\t' +
                              std::to_string(version.dwBuildNumber) + '\t' +
                              std::to_string(version.dwPlatformId) + '\t' + packed + '\t' +
                              (statusEx ? "1" : "0") + '\n');
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2EMenuHook(int code, WPARAM wParam,
                                                              LPARAM lParam) {
    static const UINT describeMenu = RegisterWindowMessageA("TarveskE2E.DescribeMenu");
    static const UINT describeSystem = RegisterWindowMessageA("TarveskE2E.DescribeSystem");
    static const UINT measureCaptions = RegisterWindowMessageA("TarveskE2E.MeasureCaptions");
    if (code == HC_ACTION) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message.message == describeMenu) DescribeMenu(message);
        if (message.message == describeSystem) DescribeSystem(message);
        if (message.message == measureCaptions) Reply(message.lParam, MeasureCaptions(message.hwnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {

bool IsShowing(const CWPSTRUCT& message) {
    if (message.message == WM_SHOWWINDOW) return message.wParam != 0;
    if (message.message == WM_WINDOWPOSCHANGING || message.message == WM_WINDOWPOSCHANGED) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(message.lParam);
        return position && (position->flags & SWP_SHOWWINDOW);
    }
    return false;
}

// Appends a line to the driver's shared memory of that name, when the driver made it.
void Append(const char* memoryName, const std::string& line) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, memoryName);
    if (!mapping) return;
    if (auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))) {
        MEMORY_BASIC_INFORMATION region{};
        VirtualQuery(view, &region, sizeof region);
        std::size_t used = strnlen(view, region.RegionSize);
        if (used + line.size() + 1 < region.RegionSize) CopyMemory(view + used, line.c_str(), line.size() + 1);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

void RecordShown(HWND window) {
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return;
    char className[256] = {}, title[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    Append("TarveskE2EShown", std::string(className) + '\t' + title + '\n');
}

// The messages whose lParam is a tool record (TTTOOLINFO), which starts with its size.
bool CarriesToolRecord(UINT message) {
    switch (message) {
    case TTM_ADDTOOLA: case TTM_ADDTOOLW:
    case TTM_DELTOOLA: case TTM_DELTOOLW:
    case TTM_NEWTOOLRECTA: case TTM_NEWTOOLRECTW:
    case TTM_GETTOOLINFOA: case TTM_GETTOOLINFOW:
    case TTM_SETTOOLINFOA: case TTM_SETTOOLINFOW:
    case TTM_UPDATETIPTEXTA: case TTM_UPDATETIPTEXTW:
    case TTM_GETTEXTA: case TTM_GETTEXTW:
    case TTM_ENUMTOOLSA: case TTM_ENUMTOOLSW:
    case TTM_GETCURRENTTOOLA: case TTM_GETCURRENTTOOLW:
        return true;
    default:
        return false;
    }
}

void RecordToolRecord(const CWPSTRUCT& message) {
    // Only the program's own: another process's record (the driver reading the tools) is
    // not the program's to answer for.
    if (InSendMessage()) return;
    const auto* record = reinterpret_cast<const UINT*>(message.lParam);
    if (!record) return;
    char className[64] = {};
    GetClassNameA(message.hwnd, className, sizeof className);
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0) return;
    Append("TarveskE2EToolRecords", std::to_string(*record) + '\n');
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2EShowHook(int code, WPARAM wParam,
                                                              LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsShowing(message)) RecordShown(message.hwnd);
        if (CarriesToolRecord(message.message)) RecordToolRecord(message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
