#pragma once
// The base of every end-to-end test: a clean settings key and no Run value (machine-wide or
// the user's) before, and no program of ours left running after.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Driver.h"

namespace e2e {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        EndPrograms();
        ClearSettings();
        DeleteRunValue();
        DeleteUserRunValue();
        ClearShownWindows();
    }
    void TearDown() override {
        EndPrograms();
        ClearSettings();
        DeleteRunValue();
        DeleteUserRunValue();
    }
    static void EndPrograms() {
        KillProcessesNamed("TarveskA.exe");
        KillProcessesNamed("Tarvesk.exe");
    }
    static std::string MainProgram() { return JoinPath(BinDir(), "Tarvesk.exe"); }
    static std::string Agent() { return JoinPath(BinDir(), "TarveskA.exe"); }
};

// The Run key under `root`, in the programs' registry view, refuses this user's writes, as
// the machine-wide one does for a standard user (the test and the programs run as the same
// user).
inline bool RunKeyRefusesWrites(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kRunKeyPath, 0, KEY_SET_VALUE | RunKeyView(), &key) != ERROR_SUCCESS)
        return true;
    RegCloseKey(key);
    return false;
}

// While it lives, this user may not write the machine-wide Run key; `ready()` is false (and
// the test is to be skipped) where the registry does not refuse the writes.
class StandardUser {
public:
    StandardUser() : machine_(HKEY_LOCAL_MACHINE, kRunKeyPath, RunKeyView()) {}
    bool ready() const { return machine_.applied() && RunKeyRefusesWrites(HKEY_LOCAL_MACHINE); }

private:
    ReadOnlyRegistryKey machine_;
};

// The old-system runs tell the programs they run on Windows 95, 98 or ME
// (TARVESK_E2E_WINDOWS, see old_windows.sh), where there are no users without rights.
inline bool ProgramsAreToldWindows9x() {
    const char* told = std::getenv("TARVESK_E2E_WINDOWS");
    const std::string version = told ? told : "";
    return version == "win95" || version == "win98" || version == "winme";
}

// "12345 KB Free" -> 12345; -1 when the text has another form.
inline long long KilobytesInTitle(const std::string& title) {
    const std::string suffix = " KB Free";
    if (title.size() <= suffix.size() ||
        title.compare(title.size() - suffix.size(), suffix.size(), suffix) != 0)
        return -1;
    std::string number = title.substr(0, title.size() - suffix.size());
    if (number.empty() || number.size() > 15) return -1;
    for (char c : number)
        if (c < '0' || c > '9') return -1;
    return std::stoll(number);
}

// A tray tooltip of the main program: "N% Memory Free" or "N MB Free".
inline bool IsMemoryTip(const std::string& tip) {
    for (const std::string suffix : {"% Memory Free", " MB Free"}) {
        if (tip.size() <= suffix.size() ||
            tip.compare(tip.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::string number = tip.substr(0, tip.size() - suffix.size());
        if (number.find_first_not_of("-0123456789") == std::string::npos) return true;
    }
    return false;
}

// The main program's main window: the form window with a menu bar.
inline HWND MainWindowOf(DWORD processId, DWORD timeoutMs = kWaitMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, "TarveskForm"))
                if (GetMenu(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

// The window's thread took a sent message within the bound: it is not stuck.
inline bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0;
}

// Memory this test takes and writes, so that free memory drops by that much.
class TouchedMemory {
public:
    explicit TouchedMemory(SIZE_T bytes)
        : block_(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (block_) std::memset(block_, 0x5A, bytes);
    }
    ~TouchedMemory() {
        if (block_) VirtualFree(block_, 0, MEM_RELEASE);
    }
    TouchedMemory(const TouchedMemory&) = delete;
    TouchedMemory& operator=(const TouchedMemory&) = delete;
    explicit operator bool() const { return block_ != nullptr; }

private:
    void* block_;
};

// The window's title follows free memory, so its one-second timer runs: with 64 MB more
// taken and written, the free kilobytes in its title change. A stopped timer leaves the
// title as it was. `seen` gets the title before and the last one read.
inline bool TitleFollowsFreeMemory(HWND window, std::string* seen = nullptr) {
    const std::string before = WindowText(window);
    TouchedMemory taken(SIZE_T{64} << 20);
    std::string now = before;
    const bool changed = taken && WaitUntil([&] {
        now = WindowText(window);
        return now != before && KilobytesInTitle(now) >= 0;
    });
    if (seen) *seen = "\"" + before + "\" then \"" + now + "\"";
    return changed;
}

}  // namespace e2e
