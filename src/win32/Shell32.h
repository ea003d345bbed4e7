#pragma once
// The shell's library is loaded the first time the program needs it (the tray icon or a
// help page), not at start-up: a window that never goes to the tray never maps it.
#include <windows.h>
#include <shellapi.h>

#include "win32/SystemFunction.h"

namespace tarvesk::shell32 {

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data, SystemFunctionFinder find = FindSystemFunction);
void Open(HWND owner, const char* file);

}  // namespace tarvesk::shell32
