#include "Driver.h"

#include <commctrl.h>

namespace e2e {

std::string ClassName(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::string WindowText(HWND window) {
    // WM_GETTEXT is marshalled across processes; a hung program cannot block the test.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return {};
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className) {
    struct Search {
        DWORD processId;
        const char* className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) WINAPI -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            if (ProcessOf(window) == s.processId &&
                (!s.className || ClassName(window) == s.className))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const char* className,
                   const std::function<bool(const std::string&)>& title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, className))
                if (!title || title(WindowText(window))) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitForWindowTitled(DWORD processId, const char* className, const std::string& title,
                         DWORD timeoutMs) {
    return WaitForWindow(
        processId, className, [&](const std::string& text) { return text == title; }, timeoutMs);
}

HWND Control(HWND form, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        form,
        [](HWND child, LPARAM parameter) WINAPI -> BOOL {
            auto& s = *reinterpret_cast<Search*>(parameter);
            if (GetDlgCtrlID(child) == s.id) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ControlText(HWND form, int id) {
    HWND control = Control(form, id);
    return control ? WindowText(control) : std::string();
}

namespace {

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

bool IsChecked(HWND control) { return Ask(control, BM_GETCHECK) == BST_CHECKED; }

int TrackbarPos(HWND control) { return static_cast<int>(Ask(control, TBM_GETPOS)); }

Range TrackbarRange(HWND control) {
    return {static_cast<int>(Ask(control, TBM_GETRANGEMIN)),
            static_cast<int>(Ask(control, TBM_GETRANGEMAX))};
}

int ProgressPos(HWND control) { return static_cast<int>(Ask(control, PBM_GETPOS)); }

Range ProgressRange(HWND control) {
    // PBM_GETRANGE with a null PBRANGE returns either end; no pointer crosses processes.
    return {static_cast<int>(Ask(control, PBM_GETRANGE, TRUE, 0)),
            static_cast<int>(Ask(control, PBM_GETRANGE, FALSE, 0))};
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void ClickControl(HWND form, int id) {
    if (HWND button = Control(form, id)) Click(button);
}

void TypeText(HWND edit, const std::string& text) {
    Ask(edit, EM_SETSEL, 0, -1);
    for (unsigned char c : text) PostMessageA(edit, WM_CHAR, c, 1);
}

void PressKey(HWND window, WPARAM virtualKey) {
    UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return window;
}

bool WaitUntilHandled(HWND button, DWORD timeoutMs) {
    if (!PostMessageA(button, BM_SETSTATE, TRUE, 0)) return false;
    bool handled = WaitUntil([&] { return (Ask(button, BM_GETSTATE) & BST_PUSHED) != 0; },
                             timeoutMs);
    Ask(button, BM_SETSTATE, FALSE);
    return handled;
}

bool WaitUntilPainted(HWND window, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            if (!IsWindow(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
            bool pending = false;
            EnumChildWindows(
                window,
                [](HWND child, LPARAM flag) WINAPI -> BOOL {
                    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
                        *reinterpret_cast<bool*>(flag) = true;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&pending));
            return !pending;
        },
        timeoutMs);
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    HWND box = WaitForWindow(processId, "#32770", {}, timeoutMs);
    if (!box) return std::nullopt;
    MessageBoxInfo info;
    info.window = box;
    info.title = WindowText(box);
    // The text may be filled in just after the box appears.
    WaitUntil([&] { return !(info.text = ControlText(box, 0xFFFF)).empty(); }, 5000);
    return info;
}

void PressDialogButton(HWND box, int buttonId) {
    if (HWND button = GetDlgItem(box, buttonId))
        Click(button);
    else
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}

}  // namespace e2e
