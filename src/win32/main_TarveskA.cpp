// TarveskA.exe: the start-up agent. Windows runs it at log-on; it marks the start as its
// own and starts Tarvesk.exe, which then comes up in the notification area.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "agent/frmTarveskA.h"
#include "resource_ids.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/Win32MessageBox.h"
#include "win32/Win32ProcessLauncher.h"
#include "win32/Win32ProgramInfo.h"

namespace {

constexpr char kClassName[] = "TarveskAgentForm";

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// frmTarveskA's window: fixed single-line frame, no minimize or maximize box, a client
// area of 1710 x 30 twips, its own icon. It is created but never shown (no ShowWindow,
// no WS_VISIBLE), and as a tool window it could never get a taskbar button either.
UniqueWindow CreateAgentWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_AGENT));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    const DWORD style = WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW;
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = 96;
    RECT frame{0, 0, MulDiv(1710, dpi, 1440), MulDiv(30, dpi, 1440)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return UniqueWindow(CreateWindowExA(exStyle, kClassName, tarvesk::frmTarveskA::kTitle, style,
                                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                        frame.bottom - frame.top, nullptr, nullptr, instance,
                                        nullptr));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace tarvesk;
    UniqueWindow window = CreateAgentWindow(instance);
    RegistrySettingsStore settings;
    Win32ProcessLauncher launcher;
    Win32ProgramInfo program;
    Win32MessageBox messages;
    return frmTarveskA(settings, launcher, program, messages).Form_Load();
}

// Size. The agent catches no exception, so every exception the standard library could
// throw here (out of memory, a string longer than its maximum) would end the program
// through std::terminate. Its code is compiled without exceptions (src/win32/CMakeLists.txt)
// and these end it directly, which keeps the exception runtime, the library's exception
// classes and their string copies out of this program (the terminate handler's demangler
// is left out for both programs by the build). Tarvesk.exe, which stops exceptions at its
// window procedures, defines the helpers to throw, without a message.
namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

// The library's operator new throws std::bad_alloc; here running out of memory ends the
// program, as that exception would.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    std::abort();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
