#include "win32/Win32MessageBox.h"

#include <windows.h>

namespace tarvesk {

static_assert(MessageBoxStop == (MB_ICONSTOP | MB_OK));

void Win32MessageBox::show(const std::string& text, const std::string& title, unsigned style) {
    MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), style);
}

}  // namespace tarvesk
