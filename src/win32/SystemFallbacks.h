#pragma once
// What the programs do where Windows lacks a newer function, for the functions that are
// not a service of their own (the memory status and the session's end keep theirs).
#include <windows.h>

#include "win32/SystemFunction.h"

namespace tarvesk {

// True on the NT line of Windows (NT 4.0, 2000, XP and later), false on 95, 98 and ME,
// from the platform bit of GetVersion.
bool IsWindowsNT();

// Registers the common controls' classes that the forms use (trackbar, tooltips, progress
// bar): InitCommonControlsEx where comctl32.dll has it (4.70 and later), else, or when it
// refuses, InitCommonControls, which registers every class the library has. False when
// neither could be called.
bool InitCommonControlsForForms(SystemFunctionFinder find = FindSystemFunction);

// The top-level window that `window` belongs to, as GetAncestor(window, GA_ROOT) gives it
// (Windows 98, NT 4.0 SP4 and later); where the system lacks GetAncestor, the same walk up
// the chain of parents. Null for null.
HWND RootWindow(HWND window);
// The walk itself: up through the parents while the window is a child window.
HWND RootWindowByParents(HWND window);

}  // namespace tarvesk
