#include "win32/SystemFallbacks.h"

#include <commctrl.h>

namespace tarvesk {

bool IsWindowsNT() { return (GetVersion() & 0x80000000u) == 0; }

bool InitCommonControlsForForms(SystemFunctionFinder find) {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    using InitCommonControlsFn = void(WINAPI*)();
    if (auto initEx = SystemFunction<InitCommonControlsExFn>("comctl32.dll",
                                                             "InitCommonControlsEx", find)) {
        const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
        if (initEx(&classes)) return true;
    }
    auto init = SystemFunction<InitCommonControlsFn>("comctl32.dll", "InitCommonControls", find);
    if (!init) return false;
    init();
    return true;
}

HWND RootWindowByParents(HWND window) {
    // GetParent gives a child's parent but a top-level window's owner: stop at the first
    // window that is not a child, or whose parent is the desktop.
    const HWND desktop = GetDesktopWindow();
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(window);
        if (!parent || parent == desktop) break;
        window = parent;
    }
    return window;
}

HWND RootWindow(HWND window) {
    using GetAncestorFn = HWND(WINAPI*)(HWND, UINT);
    static const auto getAncestor = SystemFunction<GetAncestorFn>("user32.dll", "GetAncestor");
    if (!window) return nullptr;
    return getAncestor ? getAncestor(window, GA_ROOT) : RootWindowByParents(window);
}

}  // namespace tarvesk
