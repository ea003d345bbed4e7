// The main window's commands that open and end things: the About window from each of its
// four commands, Exit, and closing the main window by its frame.
#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"
#include "version.h"

namespace e2e {
namespace {

// This release's numbers, from the header the program and its version record read.
const std::string kAboutTitle = "About Tarvesk - Version " TARVESK_STRINGIFY(TARVESK_VERSION_MAJOR) "." TARVESK_STRINGIFY(
    TARVESK_VERSION_MINOR) "." TARVESK_STRINGIFY(TARVESK_VERSION_REVISION);

class AboutTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        main = MainWindowOf(program.id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(WindowText(main)) >= 0; }));
    }

    // The About windows the program shows.
    std::vector<HWND> AboutWindows() const {
        std::vector<HWND> shown;
        for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
            if (IsWindowVisible(window) && WindowText(window) == kAboutTitle)
                shown.push_back(window);
        return shown;
    }
    HWND WaitForAbout() const {
        HWND about = nullptr;
        WaitUntil([&] {
            auto shown = AboutWindows();
            about = shown.size() == 1 ? shown[0] : nullptr;
            return about != nullptr;
        });
        return about;
    }
    bool WaitUntilClosed(HWND window) const {
        return WaitUntil([&] { return !IsWindow(window); });
    }

    Process program;
    HWND main = nullptr;
};

TEST_F(AboutTest, EachAboutCommandShowsTheOneAboutWindow) {
    // The button; the window closes with Esc.
    ClickControl(main, frmMain::cmdAbout);
    HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "no About window titled \"" << kAboutTitle << "\"";
    EXPECT_FALSE(ControlText(about, frmAbout::Label1).empty());
    EXPECT_FALSE(ControlText(about, frmAbout::Label2).empty());
    HWND picture = Control(about, frmAbout::Picture1);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(IsWindowVisible(picture));
    EXPECT_EQ(ControlText(about, frmAbout::cmdClose), "&Close");
    EXPECT_TRUE(WaitUntilPainted(about));
    EXPECT_FALSE(Screenshot("about_window").empty());

    // Every About command while it is open brings the same window forward and adds none.
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        SetForegroundWindow(main);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }));
        if (way == 0) ClickControl(main, frmMain::cmdAbout);
        if (way == 1) ASSERT_TRUE(ChooseMenuItem(main, {"&File", "&About"}));
        if (way == 2) ASSERT_TRUE(ChooseMenuItem(main, {"&Help", "&About"}));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }))
            << "the About window was not brought forward";
        ASSERT_TRUE(WaitUntilHandled(Control(main, frmMain::cmdTray)));
        EXPECT_EQ(AboutWindows(), std::vector<HWND>{about});
    }
    PressKey(FocusedControl(about), VK_ESCAPE);
    ASSERT_TRUE(WaitUntilClosed(about)) << "Esc did not close the About window";

    // The File menu, after a close: a fresh window with the same title; Enter closes it.
    ASSERT_TRUE(ChooseMenuItem(main, {"&File", "&About"}));
    about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "File > About showed no About window";
    PressKey(FocusedControl(about), VK_RETURN);
    ASSERT_TRUE(WaitUntilClosed(about)) << "Enter did not close the About window";

    // The Help menu; the frame's close box closes it.
    ASSERT_TRUE(ChooseMenuItem(main, {"&Help", "&About"}));
    about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "Help > About showed no About window";
    PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilClosed(about)) << "the close box did not close the About window";

    // The tray icon's pop-up menu: the About window alone, the main window stays hidden.
    ClickControl(main, frmMain::cmdTray);
    ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip));
    PostTrayNotification(main, 1, WM_RBUTTONUP);
    HWND popup = WaitForPopupMenu(program.id());
    ASSERT_NE(popup, nullptr) << "no pop-up menu after a right click on the icon";
    ASSERT_TRUE(ChoosePopupItem(popup, "&About"));
    about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "the tray's About showed no About window";
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(WaitUntilPainted(about));
    EXPECT_FALSE(Screenshot("about_from_tray").empty());
    ClickControl(about, frmAbout::cmdClose);
    ASSERT_TRUE(WaitUntilClosed(about)) << "Close did not close the About window";
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(WaitForTrayIcon(IsMemoryTip));
}

TEST_F(AboutTest, ClosingTheMainWindowByItsFrameLeavesTheProgramUntilAboutCloses) {
    ClickControl(main, frmMain::cmdAbout);
    HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr);

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilClosed(main)) << "the close box did not close the main window";
    // The program goes on taking messages for its remaining window.
    EXPECT_TRUE(WaitUntilHandled(Control(about, frmAbout::cmdClose)));
    EXPECT_TRUE(WaitUntilHandled(Control(about, frmAbout::cmdClose)));
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_TRUE(WaitUntilPainted(about));
    EXPECT_FALSE(Screenshot("about_after_main_window_closed").empty());

    ClickControl(about, frmAbout::cmdClose);
    ASSERT_TRUE(program.waitForExit()) << "the program stayed after its last window closed";
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(AboutTest, ExitEndsTheProgramEvenWithTheAboutWindowOpen) {
    ClickControl(main, frmMain::cmdAbout);
    ASSERT_NE(WaitForAbout(), nullptr);
    ASSERT_TRUE(ChooseMenuItem(main, {"&File", "&Exit"}));
    ASSERT_TRUE(program.waitForExit()) << "File > Exit did not end the program";
    EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
}  // namespace e2e
