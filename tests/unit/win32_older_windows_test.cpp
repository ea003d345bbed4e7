// What the Windows services do where the system lacks a function that only newer Windows
// has: each is given a finder that hands out fakes, or nothing, in place of the system's
// functions (run for real under Wine in the cross build).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "win32/ShellTray.h"
#include "win32/SystemFallbacks.h"
#include "win32/SystemFunction.h"
#include "win32/Win32MemoryStatus.h"
#include "win32/Win32SessionControl.h"

namespace {

using tarvesk::MemoryFigures;

constexpr std::uint64_t kGB = 1024ull * 1024 * 1024;

// What the fakes were asked and did, in order: "find advapi32.dll!OpenProcessToken",
// "ExitWindowsEx 2", ...
std::vector<std::string> calls;
// The functions a fake finder has; every other one is missing.
std::vector<std::string> present;

bool has(const char* function) {
    for (const auto& name : present)
        if (name == function) return true;
    return false;
}

void* fakeFinder(const char* library, const char* function, void* fake) {
    calls.push_back(std::string("find ") + library + "!" + function);
    return has(function) ? fake : nullptr;
}

class OlderWindows : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        present.clear();
    }
    static std::vector<std::string> finds() {
        std::vector<std::string> result;
        for (const auto& call : calls)
            if (call.rfind("find ", 0) == 0) result.push_back(call);
        return result;
    }
    static std::vector<std::string> done() {
        std::vector<std::string> result;
        for (const auto& call : calls)
            if (call.rfind("find ", 0) != 0) result.push_back(call);
        return result;
    }
};

// ---- The finder itself -------------------------------------------------------------------

TEST(SystemFunction, FindsWhatTheSystemHasAndNothingElse) {
    using GetVersionFn = DWORD(WINAPI*)();
    auto getVersion = tarvesk::SystemFunction<GetVersionFn>("kernel32.dll", "GetVersion");
    ASSERT_NE(getVersion, nullptr);
    EXPECT_EQ(getVersion(), GetVersion());
    EXPECT_EQ(tarvesk::FindSystemFunction("kernel32.dll", "TarveskNoSuchFunction"), nullptr);
    EXPECT_EQ(tarvesk::FindSystemFunction("tarvesk-no-such-library.dll", "GetVersion"), nullptr);
    EXPECT_EQ(tarvesk::FindSystemFunction(nullptr, "GetVersion"), nullptr);
    EXPECT_EQ(tarvesk::FindSystemFunction("kernel32.dll", nullptr), nullptr);
}

TEST(SystemFunction, ALibraryLoadedForALookupStaysLoaded) {
    // A library this test program does not import.
    const bool loadedBefore = GetModuleHandleA("msimg32.dll") != nullptr;
    void* first = tarvesk::FindSystemFunction("msimg32.dll", "AlphaBlend");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(GetModuleHandleA("msimg32.dll"), nullptr);
    EXPECT_EQ(tarvesk::FindSystemFunction("msimg32.dll", "AlphaBlend"), first);
    if (loadedBefore) GTEST_SKIP() << "msimg32.dll was loaded before the lookup";
}

// ---- Memory status -------------------------------------------------------------------------

struct MemoryFake {
    static inline bool exSucceeds = true;
    static inline std::uint64_t exTotal = 0, exAvail = 0;
    static inline SIZE_T total = 0, avail = 0;
    static inline DWORD exLength = 0, length = 0;

    static BOOL WINAPI statusEx(MEMORYSTATUSEX* status) {
        calls.push_back("GlobalMemoryStatusEx");
        exLength = status->dwLength;
        if (!exSucceeds) return FALSE;
        status->ullTotalPhys = exTotal;
        status->ullAvailPhys = exAvail;
        return TRUE;
    }
    static void WINAPI status(MEMORYSTATUS* status) {
        calls.push_back("GlobalMemoryStatus");
        length = status->dwLength;
        status->dwTotalPhys = total;
        status->dwAvailPhys = avail;
    }
    static void* find(const char* library, const char* function) {
        void* fake = std::strcmp(function, "GlobalMemoryStatusEx") == 0
                         ? reinterpret_cast<void*>(&statusEx)
                         : reinterpret_cast<void*>(&MemoryFake::status);
        return fakeFinder(library, function, fake);
    }
};

TEST_F(OlderWindows, MemoryBeyond4GBComesWholeFromTheExtendedRecord) {
    present = {"GlobalMemoryStatusEx", "GlobalMemoryStatus"};
    MemoryFake::exSucceeds = true;
    MemoryFake::exTotal = 16 * kGB;
    MemoryFake::exAvail = 5 * kGB + 12345;
    tarvesk::Win32MemoryStatus memory(MemoryFake::find);
    MemoryFigures figures = memory.sample();
    EXPECT_EQ(figures.totalPhys, 16 * kGB);
    EXPECT_EQ(figures.availPhys, 5 * kGB + 12345);
    EXPECT_EQ(MemoryFake::exLength, sizeof(MEMORYSTATUSEX));   // else Windows refuses the call
    EXPECT_EQ(done(), std::vector<std::string>{"GlobalMemoryStatusEx"});
}

TEST_F(OlderWindows, WithoutTheExtendedRecordTheOldOneIsUsed) {
    present = {"GlobalMemoryStatus"};   // Windows 95, 98, ME, NT 4.0
    MemoryFake::total = 128u * 1024 * 1024;
    MemoryFake::avail = 50u * 1024 * 1024;
    tarvesk::Win32MemoryStatus memory(MemoryFake::find);
    MemoryFigures figures = memory.sample();
    EXPECT_EQ(figures.totalPhys, 128u * 1024 * 1024);
    EXPECT_EQ(figures.availPhys, 50u * 1024 * 1024);
    EXPECT_EQ(MemoryFake::length, sizeof(MEMORYSTATUS));
    EXPECT_EQ(done(), std::vector<std::string>{"GlobalMemoryStatus"});
    // Looked up once, when the service is made, not on every tick.
    calls.clear();
    memory.sample();
    EXPECT_TRUE(finds().empty());
}

TEST_F(OlderWindows, AnExtendedRecordThatFailsFallsBackToTheOldOne) {
    present = {"GlobalMemoryStatusEx", "GlobalMemoryStatus"};
    MemoryFake::exSucceeds = false;
    MemoryFake::total = 64u * 1024 * 1024;
    MemoryFake::avail = 8u * 1024 * 1024;
    tarvesk::Win32MemoryStatus memory(MemoryFake::find);
    MemoryFigures figures = memory.sample();
    EXPECT_EQ(figures.totalPhys, 64u * 1024 * 1024);
    EXPECT_EQ(figures.availPhys, 8u * 1024 * 1024);
    EXPECT_EQ(done(), (std::vector<std::string>{"GlobalMemoryStatusEx", "GlobalMemoryStatus"}));
    MemoryFake::exSucceeds = true;
}

TEST_F(OlderWindows, TheOldRecordsLimitsNeverGiveMoreFreeThanTotal) {
    MEMORYSTATUS status{};
    // 4 GB or more, as Windows 2000 and later report it in 32 bits: all bits set.
    status.dwTotalPhys = static_cast<SIZE_T>(0xFFFFFFFFu);
    status.dwAvailPhys = static_cast<SIZE_T>(0xFFFFFFFFu);
    MemoryFigures capped = tarvesk::LegacyMemoryFigures(status);
    EXPECT_EQ(capped.totalPhys, 4 * kGB - 1);
    EXPECT_EQ(capped.availPhys, 4 * kGB - 1);
    // 5 GB total wrapped to 1 GB by an older system, 3 GB free: free is cut to the total.
    status.dwTotalPhys = static_cast<SIZE_T>(1 * kGB);
    status.dwAvailPhys = static_cast<SIZE_T>(3 * kGB);
    MemoryFigures wrapped = tarvesk::LegacyMemoryFigures(status);
    EXPECT_EQ(wrapped.totalPhys, 1 * kGB);
    EXPECT_EQ(wrapped.availPhys, 1 * kGB);
}

TEST_F(OlderWindows, NoMemoryStatusAtAllGivesZeros) {
    tarvesk::Win32MemoryStatus memory(MemoryFake::find);
    MemoryFigures figures = memory.sample();
    EXPECT_EQ(figures.totalPhys, 0u);
    EXPECT_EQ(figures.availPhys, 0u);
    EXPECT_TRUE(done().empty());
}

TEST(Win32MemoryStatus, TheSystemsFiguresAreConsistent) {
    MemoryFigures figures = tarvesk::Win32MemoryStatus().sample();
    EXPECT_GT(figures.totalPhys, 0u);
    EXPECT_LE(figures.availPhys, figures.totalPhys);
}

// ---- Log off, reboot, shut down ----------------------------------------------------------

struct SessionFake {
    static inline HANDLE token = nullptr;
    static inline LUID luid{};
    static inline TOKEN_PRIVILEGES adjusted{};

    static BOOL WINAPI openProcessToken(HANDLE process, DWORD access, HANDLE* result) {
        calls.push_back("OpenProcessToken");
        EXPECT_EQ(process, GetCurrentProcess());
        EXPECT_EQ(access & TOKEN_ADJUST_PRIVILEGES, DWORD{TOKEN_ADJUST_PRIVILEGES});
        // A real handle, so that its closing can be seen.
        token = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        *result = token;
        return token != nullptr;
    }
    static BOOL WINAPI lookupPrivilegeValue(const char* system, const char* name, LUID* result) {
        calls.push_back(std::string("LookupPrivilegeValueA ") + (name ? name : "(null)"));
        EXPECT_EQ(system, nullptr);
        luid.LowPart = 19;
        luid.HighPart = 0;
        *result = luid;
        return TRUE;
    }
    static BOOL WINAPI adjustTokenPrivileges(HANDLE handle, BOOL disableAll, TOKEN_PRIVILEGES* state,
                                             DWORD, TOKEN_PRIVILEGES*, DWORD*) {
        calls.push_back("AdjustTokenPrivileges");
        EXPECT_EQ(handle, token);
        EXPECT_FALSE(disableAll);
        adjusted = *state;
        return TRUE;
    }
    static BOOL WINAPI exitWindowsEx(UINT flags, DWORD reason) {
        calls.push_back("ExitWindowsEx " + std::to_string(flags));
        EXPECT_EQ(reason, 0u);
        return TRUE;
    }
    static void* find(const char* library, const char* function) {
        void* fake = nullptr;
        if (std::strcmp(function, "OpenProcessToken") == 0) fake = reinterpret_cast<void*>(&openProcessToken);
        if (std::strcmp(function, "LookupPrivilegeValueA") == 0)
            fake = reinterpret_cast<void*>(&lookupPrivilegeValue);
        if (std::strcmp(function, "AdjustTokenPrivileges") == 0)
            fake = reinterpret_cast<void*>(&adjustTokenPrivileges);
        if (std::strcmp(function, "ExitWindowsEx") == 0) fake = reinterpret_cast<void*>(&exitWindowsEx);
        return fakeFinder(library, function, fake);
    }
};

const std::vector<std::string> kEverySessionFunction = {"OpenProcessToken", "LookupPrivilegeValueA",
                                                        "AdjustTokenPrivileges", "ExitWindowsEx"};

TEST_F(OlderWindows, OnTheNTLineShutDownAndRebootEnableTheShutDownPrivilegeFirst) {
    for (auto how : {tarvesk::SessionEnd::ShutDown, tarvesk::SessionEnd::Reboot}) {
        SetUp();
        present = kEverySessionFunction;
        SessionFake::adjusted = {};
        tarvesk::Win32SessionControl session(true, SessionFake::find);
        session.exitWindows(how);
        EXPECT_EQ(done(), (std::vector<std::string>{
                              "OpenProcessToken", "LookupPrivilegeValueA SeShutdownPrivilege",
                              "AdjustTokenPrivileges",
                              "ExitWindowsEx " + std::to_string(static_cast<unsigned>(how))}));
        EXPECT_EQ(SessionFake::adjusted.PrivilegeCount, 1u);
        EXPECT_EQ(SessionFake::adjusted.Privileges[0].Luid.LowPart, SessionFake::luid.LowPart);
        EXPECT_EQ(SessionFake::adjusted.Privileges[0].Attributes, DWORD{SE_PRIVILEGE_ENABLED});
        // The token is closed again.
        DWORD flags = 0;
        EXPECT_FALSE(GetHandleInformation(SessionFake::token, &flags));
    }
}

TEST_F(OlderWindows, On95To98AndMEThereAreNoPrivilegesAndTheTokenFunctionsAreNeverAsked) {
    present = kEverySessionFunction;   // even where advapi32.dll has stubs of them
    tarvesk::Win32SessionControl session(false, SessionFake::find);
    session.exitWindows(tarvesk::SessionEnd::ShutDown);
    session.exitWindows(tarvesk::SessionEnd::Reboot);
    EXPECT_EQ(done(), (std::vector<std::string>{"ExitWindowsEx 1", "ExitWindowsEx 2"}));
    for (const auto& find : finds()) EXPECT_EQ(find.find("advapi32"), std::string::npos) << find;
}

TEST_F(OlderWindows, LogOffNeedsNoPrivilege) {
    present = kEverySessionFunction;
    tarvesk::Win32SessionControl session(true, SessionFake::find);
    session.exitWindows(tarvesk::SessionEnd::LogOff);
    EXPECT_EQ(done(), std::vector<std::string>{"ExitWindowsEx 0"});
}

TEST_F(OlderWindows, WithoutTheTokenFunctionsTheRequestStillGoesToWindows) {
    present = {"ExitWindowsEx", "OpenProcessToken"};   // an advapi32.dll lacking the others
    tarvesk::Win32SessionControl session(true, SessionFake::find);
    session.exitWindows(tarvesk::SessionEnd::ShutDown);
    EXPECT_EQ(done(), std::vector<std::string>{"ExitWindowsEx 1"});
}

TEST(IsWindowsNT, FollowsThePlatformOfTheVersionRecord) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(tarvesk::IsWindowsNT(), version.dwPlatformId == VER_PLATFORM_WIN32_NT);
}

// ---- Common controls ----------------------------------------------------------------------

struct ControlsFake {
    static inline BOOL exResult = TRUE;
    static inline INITCOMMONCONTROLSEX given{};

    static BOOL WINAPI initEx(const INITCOMMONCONTROLSEX* classes) {
        calls.push_back("InitCommonControlsEx");
        given = *classes;
        return exResult;
    }
    static void WINAPI init() { calls.push_back("InitCommonControls"); }
    static void* find(const char* library, const char* function) {
        void* fake = std::strcmp(function, "InitCommonControlsEx") == 0 ? reinterpret_cast<void*>(&initEx)
                                                                         : reinterpret_cast<void*>(&init);
        return fakeFinder(library, function, fake);
    }
};

TEST_F(OlderWindows, CommonControlsFromInitCommonControlsExWhereTheLibraryHasIt) {
    present = {"InitCommonControlsEx", "InitCommonControls"};
    ControlsFake::exResult = TRUE;
    EXPECT_TRUE(tarvesk::InitCommonControlsForForms(ControlsFake::find));
    EXPECT_EQ(done(), std::vector<std::string>{"InitCommonControlsEx"});
    EXPECT_EQ(ControlsFake::given.dwSize, sizeof(INITCOMMONCONTROLSEX));
    const DWORD needed = ICC_BAR_CLASSES | ICC_PROGRESS_CLASS;   // trackbar, tooltips, progress
    EXPECT_EQ(ControlsFake::given.dwICC & needed, needed);
    for (const auto& find : finds()) EXPECT_EQ(find.rfind("find comctl32.dll!", 0), 0u) << find;
}

TEST_F(OlderWindows, CommonControlsOfVersion4UseInitCommonControls) {
    present = {"InitCommonControls"};   // comctl32.dll 4.00: Windows 95 and NT 4.0 as shipped
    EXPECT_TRUE(tarvesk::InitCommonControlsForForms(ControlsFake::find));
    EXPECT_EQ(done(), std::vector<std::string>{"InitCommonControls"});
}

TEST_F(OlderWindows, CommonControlsThatRefuseTheClassesStillGetInitCommonControls) {
    present = {"InitCommonControlsEx", "InitCommonControls"};
    ControlsFake::exResult = FALSE;
    EXPECT_TRUE(tarvesk::InitCommonControlsForForms(ControlsFake::find));
    EXPECT_EQ(done(), (std::vector<std::string>{"InitCommonControlsEx", "InitCommonControls"}));
    ControlsFake::exResult = TRUE;
}

TEST_F(OlderWindows, NoCommonControlsLibraryIsReportedNotCalled) {
    EXPECT_FALSE(tarvesk::InitCommonControlsForForms(ControlsFake::find));
    EXPECT_TRUE(done().empty());
}

// A window of a class, made and destroyed; false when it cannot be made.
bool canCreate(const char* windowClass) {
    HWND window = CreateWindowExA(0, windowClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return false;
    DestroyWindow(window);
    return true;
}

TEST(CommonControls, TheFormsControlClassesExistAfterwards) {
    if (!canCreate("STATIC")) GTEST_SKIP() << "no windows here (Wine without a display)";
    ASSERT_TRUE(tarvesk::InitCommonControlsForForms());
    EXPECT_TRUE(canCreate(TRACKBAR_CLASSA));
    EXPECT_TRUE(canCreate(PROGRESS_CLASSA));
    EXPECT_TRUE(canCreate(TOOLTIPS_CLASSA));
}

// ---- The top-level window of a message ------------------------------------------------------

struct Window {
    HWND handle;
    explicit Window(HWND h) : handle(h) {}
    ~Window() {
        if (handle) DestroyWindow(handle);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
};

HWND makeWindow(DWORD style, HWND parent) {
    return CreateWindowExA(0, "STATIC", "", style, 0, 0, 50, 50, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(RootWindow, TheWalkUpTheParentsFindsWhatGetAncestorFinds) {
    Window top(makeWindow(WS_OVERLAPPED, nullptr));
    if (!top.handle) GTEST_SKIP() << "no windows here (Wine without a display)";
    Window child(makeWindow(WS_CHILD, top.handle));
    Window grandchild(makeWindow(WS_CHILD, child.handle));
    Window owned(makeWindow(WS_POPUP, top.handle));          // owned, not a child
    Window ownedChild(makeWindow(WS_CHILD, owned.handle));
    Window desktopChild(makeWindow(WS_CHILD, GetDesktopWindow()));   // its own root
    for (HWND window : {top.handle, child.handle, grandchild.handle, owned.handle, ownedChild.handle,
                        desktopChild.handle}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(tarvesk::RootWindowByParents(window), GetAncestor(window, GA_ROOT));
        EXPECT_EQ(tarvesk::RootWindow(window), GetAncestor(window, GA_ROOT));
    }
    EXPECT_EQ(tarvesk::RootWindowByParents(grandchild.handle), top.handle);
    EXPECT_EQ(tarvesk::RootWindowByParents(ownedChild.handle), owned.handle);
    EXPECT_EQ(tarvesk::RootWindow(nullptr), nullptr);
    EXPECT_EQ(tarvesk::RootWindowByParents(nullptr), nullptr);
}

// ---- The tray record ---------------------------------------------------------------------------

struct TrayFake {
    static inline DWORD message = 0;
    static inline NOTIFYICONDATAA sent{};

    static BOOL WINAPI notifyIcon(DWORD what, NOTIFYICONDATAA* data) {
        calls.push_back("Shell_NotifyIconA");
        message = what;
        sent = {};
        std::memcpy(&sent, data, std::min<std::size_t>(data->cbSize, sizeof sent));
        return TRUE;
    }
    static void* find(const char* library, const char* function) {
        return fakeFinder(library, function, reinterpret_cast<void*>(&notifyIcon));
    }
};

TEST_F(OlderWindows, TheShellGetsTheFirstNarrowRecordThatEveryShellKnows) {
    present = {"Shell_NotifyIconA"};
    tarvesk::ShellTray tray(TrayFake::find);
    EXPECT_TRUE(finds().empty());   // the shell's library waits for the first icon
    tarvesk::TrayIconRecord record;
    record.cbSize = tray.recordSize();
    record.hWnd = 0x1234;
    record.uID = 1;
    record.uFlags = NIF_TIP | NIF_MESSAGE;
    record.uCallbackMessage = WM_MOUSEMOVE;
    std::memcpy(record.szTip.data(), "75% Free", 9);
    ASSERT_TRUE(tray.notify(tarvesk::TrayCommand::Add, record));
    EXPECT_EQ(finds(), std::vector<std::string>{"find shell32.dll!Shell_NotifyIconA"});
    EXPECT_EQ(TrayFake::message, DWORD{NIM_ADD});
    EXPECT_EQ(TrayFake::sent.cbSize, DWORD{NOTIFYICONDATAA_V1_SIZE});
    EXPECT_EQ(TrayFake::sent.cbSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(TrayFake::sent.hWnd, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(TrayFake::sent.uCallbackMessage, UINT{WM_MOUSEMOVE});
    EXPECT_STREQ(TrayFake::sent.szTip, "75% Free");
}

TEST_F(OlderWindows, AShellWithoutTheTrayFunctionIsAFailedRequestNotACrash) {
    tarvesk::ShellTray tray(TrayFake::find);
    tarvesk::TrayIconRecord record;
    record.cbSize = tray.recordSize();
    EXPECT_FALSE(tray.notify(tarvesk::TrayCommand::Add, record));
    EXPECT_TRUE(done().empty());
}

}  // namespace
#endif
