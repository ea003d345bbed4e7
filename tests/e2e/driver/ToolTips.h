#pragma once
// The tooltips of a program's own windows. A form keeps one tooltip window
// ("tooltips_class32", owned by the form) with one tool per control; its texts live in
// the program's memory, so they are read there (the way TrayIcons() reads the shell's).
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// The tooltip text that `form`'s tooltip window holds for `control`; nullopt when the form
// has no tooltip window or the control no tool in it.
std::optional<std::string> ControlToolTip(HWND form, HWND control);

// Rests the mouse pointer on `control`, as a user would, and waits until a tooltip window
// of its program is shown holding `text`. False when none came within `timeoutMs`.
bool WaitForShownToolTip(HWND control, const std::string& text, DWORD timeoutMs = 20000);

}  // namespace e2e
