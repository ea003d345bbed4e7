#pragma once
// A small driver for end-to-end tests of the real programs under Wine: it starts them,
// finds their windows, reads what a user would see (titles, control texts and states,
// menus, message boxes, the icons of the notification area), acts as a user's clicks and
// keys would arrive (window messages), reads and writes the programs' registry values,
// and takes screenshots.
//
// Waiting is polling with short sleeps up to a generous limit; a limit is never a timing
// assertion, only a bound on how long a broken program can hang a test.
#include <windows.h>
// After <windows.h>: the common controls' messages (TBM_*, PBM_*, TTM_*) for the tests.
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Hooks.h"

namespace e2e {

constexpr DWORD kWaitMs = 20000;   // default bound for every wait

// ---- Places ------------------------------------------------------------------------------

// The folder of Tarvesk.exe and TarveskA.exe: TARVESK_BIN, else the test program's folder.
std::string BinDir();
// True when the Tarvesk.exe there is a 32-bit program.
bool ProgramsAre32Bit();
// Where screenshots go: TARVESK_SCREENSHOTS; else "screenshots" two folders above
// TARVESK_BIN (build/<preset>/bin -> build/screenshots); else beside the test program.
std::string ScreenshotDir();
// A Unix path ("/work/x") as Wine sees it ("Z:\work\x"); other paths are returned as given.
std::string WindowsPath(const std::string& path);
// "C:\a\b" + "c.exe" -> "C:\a\b\c.exe".
std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
// e2e_menuhook.dll beside the test program: the hooks that run inside the programs.
std::string HookLibraryPath();
// e2e_hookhelper32.exe beside it: sets the 32-bit copy's hooks in 32-bit programs.
std::string HookHelperPath();
// Creates the folder and those above it.
bool MakeFolders(const std::string& folder);

// Polls `condition` every 50 ms until it holds or `timeoutMs` have passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs);
void Pause(DWORD ms);

// A program file holds a manifest (resource 1 of type RT_MANIFEST).
bool HasManifest(const std::string& program);
// Copies the program and removes the manifest from the copy; false when the copy still
// has one or could not be made.
bool CopyWithoutManifest(const std::string& program, const std::string& copy);

// ---- Processes ---------------------------------------------------------------------------

class Process {
public:
    Process() = default;
    ~Process();   // closes the handle; the process itself is left running
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // CreateProcess with the program's path as application name and `commandLine` as given
    // (the quoted path when empty). Returns an empty Process on failure (see error()).
    static Process Start(const std::string& program, const std::string& commandLine = "",
                         const std::string& workingFolder = "");
    // CreateProcess with no application name: the command line alone says what runs, the
    // way Windows runs a Run registration at log-on.
    static Process StartCommandLine(const std::string& commandLine);
    // Like Start, and every top-level window the program shows from its first instruction
    // on is recorded (see ShownWindows): the program is created suspended, a hook from
    // e2e_menuhook.dll (or its 32-bit copy) is set on its thread, then it runs.
    static Process StartWatched(const std::string& program);

    explicit operator bool() const { return handle_ != nullptr; }
    DWORD id() const { return id_; }
    DWORD error() const { return error_; }
    bool running() const;
    bool waitForExit(DWORD timeoutMs = kWaitMs) const;
    std::optional<DWORD> exitCode() const;
    void kill() const;

private:
    HANDLE handle_ = nullptr;
    ThreadHook watch_;
    DWORD id_ = 0;
    DWORD error_ = 0;
};

// "class TAB title" of every top-level window that programs started with StartWatched
// have shown, in order, since the last ClearShownWindows().
std::vector<std::string> ShownWindows();
// The size (cbSize) of every tool record those programs handed their tooltip windows, in
// order, without repeats of the one before, since the last ClearShownWindows().
std::vector<unsigned> ToolRecordSizes();
void ClearShownWindows();

// Processes of this Wine prefix whose executable has this file name ("Tarvesk.exe").
std::vector<DWORD> ProcessesNamed(const std::string& exeName);
// Ends them all and waits until they are gone.
void KillProcessesNamed(const std::string& exeName);

// ---- Windows and controls ----------------------------------------------------------------

std::string ClassName(HWND window);
std::string WindowText(HWND window);
DWORD ProcessOf(HWND window);

// Top-level windows (shown or hidden) of a process, optionally only of one class.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr);
// The first top-level window of the process with this class whose text satisfies `title`
// (any text when empty); waits up to `timeoutMs`. nullptr when none came.
HWND WaitForWindow(DWORD processId, const char* className,
                   const std::function<bool(const std::string&)>& title = {},
                   DWORD timeoutMs = kWaitMs);
HWND WaitForWindowTitled(DWORD processId, const char* className, const std::string& title,
                         DWORD timeoutMs = kWaitMs);

// A child control by its control ID, at any depth (controls inside frames included).
HWND Control(HWND form, int id);
std::string ControlText(HWND form, int id);
bool IsChecked(HWND control);              // BM_GETCHECK == BST_CHECKED
struct Range {
    int min = 0, max = 0;
};
int TrackbarPos(HWND control);
Range TrackbarRange(HWND control);
// The trackbar's thumb, in the trackbar's client coordinates (read inside its process).
RECT TrackbarThumb(HWND control);
int ProgressPos(HWND control);
Range ProgressRange(HWND control);
// Client rectangle size in pixels.
SIZE ClientSize(HWND window);

// A user's click on a button, posted (BM_CLICK) so that a modal box the click opens does
// not block the test.
void Click(HWND button);
void ClickControl(HWND form, int id);
// Replaces an edit's text as typing would: select all, then one WM_CHAR per character.
void TypeText(HWND edit, const std::string& text);
// A key press (WM_KEYDOWN then WM_KEYUP) posted to a window.
void PressKey(HWND window, WPARAM virtualKey);
// The control with the keyboard focus in the thread of `window` (GetGUIThreadInfo), or
// `window` itself when that thread has no focus: where a key press would arrive.
HWND FocusedControl(HWND window);
// Waits until the thread of `button` has handled every message posted to it before this
// call: a posted BM_SETSTATE pushes the button in (the thread's queue is first in, first
// out), a sent one lets it out again. False when the thread took nothing within `timeoutMs`.
bool WaitUntilHandled(HWND button, DWORD timeoutMs = kWaitMs);
// Waits until the window and its visible controls have nothing left to paint (no update
// region), so that a screenshot shows them drawn.
bool WaitUntilPainted(HWND window, DWORD timeoutMs = kWaitMs);

// While it lives, a registry key (created when absent) that everyone may read and nobody
// may write, as the machine-wide Run key is for a standard user; its permissions come back
// after. applied() is false when they could not be changed. `view` as for ReadText.
class ReadOnlyRegistryKey {
public:
    ReadOnlyRegistryKey(HKEY root, const std::string& path, REGSAM view = 0);
    ~ReadOnlyRegistryKey();
    ReadOnlyRegistryKey(const ReadOnlyRegistryKey&) = delete;
    ReadOnlyRegistryKey& operator=(const ReadOnlyRegistryKey&) = delete;
    bool applied() const { return applied_; }

private:
    HKEY root_;
    std::string path_;
    REGSAM view_;
    std::vector<BYTE> saved_;   // the key's own security descriptor (its DACL)
    bool applied_ = false;
};
// HKLM and HKCU\Software\Microsoft\Windows\CurrentVersion\Run
extern const char* const kRunKeyPath;

// The screen's DPI setting of this Wine prefix (LogPixels under HKCU\Control Panel\Desktop),
// read by every program when it starts; nullopt when it is not set (96).
std::optional<DWORD> ScreenDpiSetting();
void SetScreenDpiSetting(std::optional<DWORD> dpi);

// A control's caption as the program draws it: measured inside the program with the
// control's own font (a label's text wrapped at the label's width, others on one line).
struct CaptionExtent {
    int id = 0;
    std::string kind;      // "button", "check" (check box or option button), "frame", "label"
    SIZE text{};           // the caption's extent
    SIZE client{};         // the control's client area
    int dpi = 96;          // the DPI the control is drawn at
};
std::optional<std::vector<CaptionExtent>> MeasureCaptions(HWND window);

// ---- Menus -------------------------------------------------------------------------------
// Menus belong to the program's process, and Wine does not read another process's menus;
// a small hook library (e2e_menuhook.dll, beside the test program) reads them inside the
// program and hands back a copy.

struct MenuItem {
    std::string caption;   // with its '&'; empty for a separator
    UINT id = 0;           // command ID; 0 for separators and submenus
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    bool isDefault = false;   // drawn bold
    bool highlighted = false; // selected in an open menu
    std::vector<MenuItem> items;   // the submenu's items
};

// The window's menu bar (GetMenu), or the given menu of that window's process.
std::optional<std::vector<MenuItem>> ReadMenu(HWND window, HMENU menu = nullptr);
// Follows a caption path ({"&File", "&Exit"}); nullptr when absent.
const MenuItem* FindMenuItem(const std::vector<MenuItem>& menu,
                             const std::vector<std::string>& path);
// Captions in order, "-" for a separator.
std::vector<std::string> Captions(const std::vector<MenuItem>& items);
// Reads the menu bar, finds the item and posts its WM_COMMAND. False when not found.
bool ChooseMenuItem(HWND window, const std::vector<std::string>& path);

// The shown pop-up menu ("#32768") of a process, and its menu handle (MN_GETHMENU).
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs = kWaitMs);
HMENU PopupMenuHandle(HWND popup);
// Picks the item with this caption in a shown pop-up menu the way the keyboard does:
// Down until the item is highlighted, then Enter. False when the caption is not in the
// menu or the item could not be reached.
bool ChoosePopupItem(HWND popup, const std::string& caption);

// ---- Inside a program --------------------------------------------------------------------
// The same hook answers other questions inside the program, about the window's thread.

// Sends the registered message `request` to `window` with the hook set on its thread, and
// returns the text the hook wrote back; nullopt when no answer came.
std::optional<std::string> AskProgram(HWND window, const char* request, WPARAM wParam);

// What the program of `window` is told of the system it runs on.
struct SystemSeen {
    DWORD major = 0, minor = 0, build = 0;
    DWORD platform = 0;        // VER_PLATFORM_WIN32_WINDOWS (1) or VER_PLATFORM_WIN32_NT (2)
    DWORD packedVersion = 0;   // GetVersion(): the high bit set on 95, 98 and ME
    bool hasGlobalMemoryStatusEx = false;   // kernel32 exports it
};
std::optional<SystemSeen> SystemSeenBy(HWND window);

// ---- Message boxes -----------------------------------------------------------------------

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string title, text;
};
// A message box ("#32770") of the process, with its title and text (static 0xFFFF).
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs = kWaitMs);
// Presses the box's button with this ID (IDOK) as a click would.
void PressDialogButton(HWND box, int buttonId = IDOK);

// ---- The notification area ---------------------------------------------------------------
// Wine's explorer draws the taskbar's icons itself and keeps one tooltip window per icon,
// owned by its "Shell_TrayWnd". The driver reads those tooltips' texts inside explorer's
// memory (TTM_ENUMTOOLSW into a buffer there). Only icons the taskbar shows are listed.

struct TrayIcon {
    std::string tip;   // the tooltip text the shell holds
    RECT rect{};       // where the icon is drawn in the taskbar
};
std::vector<TrayIcon> TrayIcons();
bool HasTrayIcon(const std::string& tip);
// Waits until some icon's tooltip satisfies `match`; returns that tooltip.
std::optional<std::string> WaitForTrayIcon(const std::function<bool(const std::string&)>& match,
                                           DWORD timeoutMs = kWaitMs);
// Whether the shell draws a taskbar, and whether it shows a button for this window there
// (a window the shell knows of but does not show has a hidden one).
bool TaskbarShown();
enum class TaskbarButton { None, Hidden, Shown };
TaskbarButton TaskbarButtonOf(HWND window);
bool HasTaskbarButton(HWND window);
// Sends what the shell sends a program whose icon was clicked: the icon's callback message
// (WM_MOUSEMOVE) with wParam = the icon's ID and lParam = the mouse message.
void PostTrayNotification(HWND owner, UINT iconId, UINT mouseMessage);

// ---- Registry ----------------------------------------------------------------------------

// A text (REG_SZ, REG_EXPAND_SZ) or number (REG_DWORD) value; an empty name is the key's
// default value. Nothing when the key or value is absent or of another type. `view` is
// KEY_WOW64_32KEY or KEY_WOW64_64KEY to name a registry view, 0 for this program's own.
std::optional<std::string> ReadText(HKEY root, const std::string& subkey, const std::string& name,
                                    REGSAM view = 0);
std::optional<DWORD> ReadNumber(HKEY root, const std::string& subkey, const std::string& name);
// Writes a REG_SZ value, creating the key as needed.
bool WriteText(HKEY root, const std::string& subkey, const std::string& name, const std::string& text,
               REGSAM view = 0);
void DeleteValue(HKEY root, const std::string& subkey, const std::string& name, REGSAM view = 0);
// Removes the key with everything under it.
void DeleteKey(HKEY root, const std::string& subkey);

// HKCU\Software\Tarvesk\Settings
std::optional<std::string> ReadSetting(const std::string& name);
bool WriteSetting(const std::string& name, const std::string& text);
void ClearSettings();   // removes HKCU\Software\Tarvesk with everything under it
// The registry view of the programs' bitness (ProgramsAre32Bit), where they find
// HKLM\Software: KEY_WOW64_32KEY or KEY_WOW64_64KEY.
REGSAM RunKeyView();
// HKLM\Software\Microsoft\Windows\CurrentVersion\Run, value "Tarvesk", in that view
std::optional<std::string> ReadRunValue();
bool WriteRunValue(const std::string& text);
void DeleteRunValue();
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value "Tarvesk": the user's own
std::optional<std::string> ReadUserRunValue();
bool WriteUserRunValue(const std::string& text);
void DeleteUserRunValue();

// ---- Memory ------------------------------------------------------------------------------

struct MemoryNow {
    unsigned long long totalBytes = 0, availableBytes = 0;
};
MemoryNow Memory();

// ---- Screenshots -------------------------------------------------------------------------

// The whole screen (the Wine desktop with its taskbar) as ScreenshotDir()/<name>.png.
// Returns the file's path, or an empty text when it could not be written.
std::string Screenshot(const std::string& name);
// The same of the screen's part that a window covers.
std::string ScreenshotOfWindow(const std::string& name, HWND window);

}  // namespace e2e
