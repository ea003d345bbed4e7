// How the main program starts: with the agent's mark it goes straight to the tray without
// ever showing a window and consumes the mark; any other start shows the window with the
// memory figures and leaves the mark alone.
#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

class StartUpTest : public ProgramTest {
protected:
    // Starts Tarvesk.exe by hand and checks the ordinary start: the window shown with the
    // free kilobytes in its title and no icon in the tray.
    void ExpectOrdinaryStart(const std::string& screenshot) {
        Process program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "error " << program.error();
        HWND window = WaitForWindow(program.id(), "TarveskForm", [](const std::string& title) {
            return KilobytesInTitle(title) >= 0;
        });
        ASSERT_NE(window, nullptr) << "no window titled \"N KB Free\"";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        EXPECT_FALSE(ControlText(window, frmMain::labMem).empty());
        // Explorer keeps no icon of ours: the window is the program's only face.
        for (const TrayIcon& icon : TrayIcons()) EXPECT_FALSE(IsMemoryTip(icon.tip)) << icon.tip;
        if (!screenshot.empty()) {
            EXPECT_TRUE(WaitUntilPainted(window));
            EXPECT_FALSE(Screenshot(screenshot).empty());
        }
        program.kill();
    }
};

TEST_F(StartUpTest, AgentMarkStartsInTheTrayWithoutShowingAWindowAndIsConsumed) {
    ASSERT_TRUE(WriteSetting("StartAgent", "1"));
    Process program = Process::StartWatched(MainProgram());
    ASSERT_TRUE(program) << "error " << program.error();

    ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "no tray icon with a memory tooltip";
    EXPECT_EQ(ReadSetting("StartAgent"), "0");
    HWND main = MainWindowOf(program.id());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    // Not even for a moment before it went to the tray.
    for (const std::string& shown : ShownWindows())
        EXPECT_NE(shown.rfind("TarveskForm\t", 0), 0u) << "shown: " << shown;
    EXPECT_FALSE(Screenshot("startup_agent_mark_tray").empty());
    program.kill();
    ASSERT_TRUE(WaitUntil([] {
        for (const TrayIcon& icon : TrayIcons())
            if (IsMemoryTip(icon.tip)) return false;
        return true;
    })) << "explorer kept the icon of the ended program";

    // The mark was used up: the next start by hand shows the window.
    ExpectOrdinaryStart("");
    EXPECT_EQ(ReadSetting("StartAgent"), "0");
}

TEST_F(StartUpTest, AnyOtherMarkGivesAnOrdinaryStartAndIsLeftAsItWas) {
    // Only exactly 1 is the agent's mark; the others must not be rewritten as "0" either.
    const std::optional<std::string> marks[] = {std::string("2"), std::string("0"), std::nullopt};
    for (const auto& mark : marks) {
        SCOPED_TRACE("StartAgent " + mark.value_or("absent"));
        ClearSettings();
        if (mark) {
            ASSERT_TRUE(WriteSetting("StartAgent", *mark));
        }
        ExpectOrdinaryStart(mark == "2" ? "startup_mark_2_ordinary" : "");
        EXPECT_EQ(ReadSetting("StartAgent"), mark);
    }
}

TEST_F(StartUpTest, TitleFollowsFreeMemoryWhileTheWindowIsShown) {
    Process program = Process::Start(MainProgram());
    ASSERT_TRUE(program);
    HWND window = MainWindowOf(program.id());
    ASSERT_NE(window, nullptr);
    std::string first;
    ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(first = WindowText(window)) >= 0; }));
    std::string titles;
    EXPECT_TRUE(TitleFollowsFreeMemory(window, &titles)) << "the title stayed: " << titles;
    program.kill();
}

}  // namespace
}  // namespace e2e
