// Reports on the help viewer's window from inside Windows (or Wine), for
// help_viewer_test.sh, which builds it with MinGW-w64 when needed.
//
//   help_window_probe windows        every visible top-level window:
//                                    "window <hwnd> <left> <top> <right> <bottom> <class>|<title>"
//   help_window_probe text <hwnd>    the text of the window's rich-edit controls (what the
//                                    viewer shows of the topic), one "text <line>" per line
//   help_window_probe buttons <hwnd> every push button inside the window:
//                                    "button <left> <top> <right> <bottom> <caption>"
//   help_window_probe list <hwnd>    every item of every visible list box inside the window:
//                                    "item <index> <x> <y> <text>", where x y is the middle of
//                                    the item on the screen, or -1 -1 when it is scrolled away
//   help_window_probe close <hwnd>   asks the window to close
// Coordinates are screen coordinates. Exit status 0, or 2 on a usage error.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string className(HWND w)
{
    char name[256] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::string windowText(HWND w)
{
    // WM_GETTEXT is marshalled between processes, so this works on another program's controls.
    const LRESULT length = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(w, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

BOOL CALLBACK listWindow(HWND w, LPARAM)
{
    if (!IsWindowVisible(w)) return TRUE;
    RECT r{};
    GetWindowRect(w, &r);
    std::printf("window %llu %ld %ld %ld %ld %s|%s\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w)),
                r.left, r.top, r.right, r.bottom, className(w).c_str(), windowText(w).c_str());
    return TRUE;
}

BOOL CALLBACK printRichText(HWND w, LPARAM)
{
    std::string cls = className(w);
    for (char& c : cls) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (cls.find("richedit") == std::string::npos || !IsWindowVisible(w)) return TRUE;
    std::string line;
    for (char c : windowText(w) + "\n") {
        if (c == '\r') continue;
        if (c == '\n') {
            std::printf("text %s\n", line.c_str());
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    return TRUE;
}

BOOL CALLBACK printButton(HWND w, LPARAM)
{
    std::string cls = className(w);
    if (_stricmp(cls.c_str(), "Button") != 0 || !IsWindowVisible(w)) return TRUE;
    RECT r{};
    GetWindowRect(w, &r);
    std::printf("button %ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom, windowText(w).c_str());
    return TRUE;
}

// The text of a list box's item. LB_GETTEXT is marshalled between processes only for a list
// box with LBS_HASSTRINGS. Wine's help viewer fills its Index list without that style (a list
// box that is not owner-drawn keeps the strings all the same) and sets each item's data to
// the address of the keyword's text in its own memory; so for such a box the text is read
// from there, and kept only when its length is the one LB_GETTEXTLEN reports.
std::string listItemText(HWND w, WPARAM i)
{
    const LRESULT length = SendMessageA(w, LB_GETTEXTLEN, i, 0);
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (GetWindowLongA(w, GWL_STYLE) & LBS_HASSTRINGS) {
        const LRESULT got = SendMessageA(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return text;
    }
    const LRESULT data = SendMessageA(w, LB_GETITEMDATA, i, 0);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    const HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    SIZE_T read = 0;
    const BOOL ok = ReadProcessMemory(process, reinterpret_cast<LPCVOID>(data), text.data(), text.size(), &read);
    CloseHandle(process);
    if (!ok || read != text.size() || text.back() != '\0' || text.find('\0') != text.size() - 1) return {};
    text.pop_back();
    return text;
}

// Every item, with the middle of its place on the screen (from the item height and the first
// visible item).
BOOL CALLBACK printListItems(HWND w, LPARAM)
{
    std::string cls = className(w);
    if (_stricmp(cls.c_str(), "ListBox") != 0 || !IsWindowVisible(w)) return TRUE;
    const LRESULT count = SendMessageA(w, LB_GETCOUNT, 0, 0);
    const LRESULT height = SendMessageA(w, LB_GETITEMHEIGHT, 0, 0);
    const LRESULT top = SendMessageA(w, LB_GETTOPINDEX, 0, 0);
    RECT client{};
    GetClientRect(w, &client);
    for (LRESULT i = 0; i < count; ++i) {
        POINT middle{-1, -1};
        const LRESULT y = (i - top) * height + height / 2;
        if (height > 0 && i >= top && y < client.bottom) {
            middle = {client.right / 4, static_cast<LONG>(y)};
            ClientToScreen(w, &middle);
        }
        std::printf("item %ld %ld %ld %s\n", static_cast<long>(i), middle.x, middle.y,
                    listItemText(w, static_cast<WPARAM>(i)).c_str());
    }
    return TRUE;
}

HWND parseWindow(const char* text)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text, nullptr, 10)));
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "windows" && argc == 2) {
        EnumWindows(listWindow, 0);
    } else if (command == "text" && argc == 3) {
        EnumChildWindows(parseWindow(argv[2]), printRichText, 0);
    } else if (command == "buttons" && argc == 3) {
        EnumChildWindows(parseWindow(argv[2]), printButton, 0);
    } else if (command == "list" && argc == 3) {
        EnumChildWindows(parseWindow(argv[2]), printListItems, 0);
    } else if (command == "close" && argc == 3) {
        PostMessageA(parseWindow(argv[2]), WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr, "usage: help_window_probe windows | text <hwnd> | buttons <hwnd> | list <hwnd> | close <hwnd>\n");
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
