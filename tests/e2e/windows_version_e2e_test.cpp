// Both programs as older Windows runs them. tests/e2e/old_windows.sh has Wine report a
// Windows version to Tarvesk.exe and TarveskA.exe and names it in TARVESK_E2E_WINDOWS; this
// checks that the programs are told that version, and photographs the three windows.
#include <cstdio>
#include <cstdlib>

#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

struct WindowsVersion {
    const char* name;   // Wine's name for it
    DWORD major, minor, platform;
};
constexpr WindowsVersion kVersions[] = {
    {"win95", 4, 0, VER_PLATFORM_WIN32_WINDOWS},  {"win98", 4, 10, VER_PLATFORM_WIN32_WINDOWS},
    {"winme", 4, 90, VER_PLATFORM_WIN32_WINDOWS}, {"nt40", 4, 0, VER_PLATFORM_WIN32_NT},
    {"win2k", 5, 0, VER_PLATFORM_WIN32_NT},       {"winxp", 5, 1, VER_PLATFORM_WIN32_NT},
    {"winxp64", 5, 2, VER_PLATFORM_WIN32_NT},
};

class WindowsVersionTest : public ProgramTest {
protected:
    const std::string folder = "C:\\Tarvesk Agent Alone";
    std::string lonelyAgent() const { return JoinPath(folder, "TarveskA.exe"); }

    void SetUp() override {
        ProgramTest::SetUp();
        const char* name = std::getenv("TARVESK_E2E_WINDOWS");
        if (!name || !*name)
            GTEST_SKIP() << "TARVESK_E2E_WINDOWS is not set: the programs run as Wine's own "
                            "Windows version (tests/e2e/old_windows.sh sets one)";
        for (const WindowsVersion& version : kVersions)
            if (std::string(version.name) == name) expected = &version;
        ASSERT_NE(expected, nullptr) << "unknown Windows version \"" << name << "\"";
    }
    void TearDown() override {
        ProgramTest::TearDown();
        DeleteFileA(lonelyAgent().c_str());
        RemoveDirectoryA(folder.c_str());
    }

    void ExpectToldTheVersion(HWND window, const char* program) {
        auto seen = SystemSeenBy(window);
        ASSERT_TRUE(seen) << program << " did not answer";
        EXPECT_EQ(seen->major, expected->major) << program;
        EXPECT_EQ(seen->minor, expected->minor) << program;
        EXPECT_EQ(seen->platform, expected->platform) << program;
        // GetVersion's high bit is what tells 95, 98 and ME from the NT line.
        EXPECT_EQ((seen->packedVersion & 0x80000000u) != 0,
                  expected->platform == VER_PLATFORM_WIN32_WINDOWS)
            << program << ": GetVersion() " << std::hex << seen->packedVersion;
        // Not asserted, only told: Wine's kernel32 exports GlobalMemoryStatusEx under every
        // version it reports, so the memory figures come from it even as Windows 95.
        std::printf("%s is told Windows %lu.%lu build %lu, platform %lu, GetVersion() %08lx; "
                    "kernel32 %s GlobalMemoryStatusEx\n",
                    program, seen->major, seen->minor, seen->build, seen->platform,
                    seen->packedVersion, seen->hasGlobalMemoryStatusEx ? "exports" : "lacks");
    }

    const WindowsVersion* expected = nullptr;
};

TEST_F(WindowsVersionTest, BothProgramsAreToldTheWindowsTheyRunAs) {
    Process program = Process::Start(MainProgram());
    ASSERT_TRUE(program) << "error " << program.error();
    HWND main = MainWindowOf(program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(WindowText(main)) >= 0; }));
    ExpectToldTheVersion(main, "Tarvesk.exe");

    // The three windows at once, as this Windows draws them.
    ASSERT_TRUE(ChooseMenuItem(main, {"&Settings", "&Configuration"}));
    HWND dialog = WaitForWindowTitled(program.id(), "TarveskForm", "Configuration");
    ASSERT_TRUE(ChooseMenuItem(main, {"&Help", "&About"}));
    HWND about = WaitForWindow(program.id(), "TarveskForm", [](const std::string& title) {
        return title.rfind("About Tarvesk", 0) == 0;
    });
    ASSERT_TRUE(dialog && about);
    // Side by side, as a user would drag them apart.
    RECT mainRect{};
    GetWindowRect(main, &mainRect);
    const int gap = 16;
    SetWindowPos(main, nullptr, gap, gap, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dialog, nullptr, 2 * gap + (mainRect.right - mainRect.left), gap, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(about, nullptr, gap, 2 * gap + (mainRect.bottom - mainRect.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND window : {main, dialog, about}) EXPECT_TRUE(WaitUntilPainted(window));
    EXPECT_FALSE(Screenshot(std::string("windows_") + expected->name).empty());
    program.kill();

    // The agent, alone in its folder, reports the missing main program in a message box:
    // a window of its own to ask.
    ASSERT_TRUE(MakeFolders(folder));
    ASSERT_TRUE(CopyFileA(Agent().c_str(), lonelyAgent().c_str(), FALSE));
    Process agent = Process::Start(lonelyAgent());
    ASSERT_TRUE(agent) << "error " << agent.error();
    auto box = WaitForMessageBox(agent.id());
    ASSERT_TRUE(box) << "the agent showed no message";
    ExpectToldTheVersion(box->window, "TarveskA.exe");
    EXPECT_FALSE(Screenshot(std::string("agent_message_") + expected->name).empty());
    PressDialogButton(box->window, IDOK);
    EXPECT_TRUE(agent.waitForExit());
}

}  // namespace
}  // namespace e2e
