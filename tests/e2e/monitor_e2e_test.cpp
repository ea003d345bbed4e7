// The optimizer and the one-second tick of the real program: the slider's amount and its
// tooltip, Optimize from the button and from the tray menu, and automatic optimization
// on every tick below the alarm level.
#include <cstring>

#include "ControlIds.h"
#include "Driver.h"

#include <commctrl.h>

#include "ToolTips.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

// The control of the window's thread that has the keyboard focus.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Puts the progress bar somewhere the program never leaves it, so that its return to 0
// tells that an optimization has run since (nothing else sets the bar).
void MarkBar(HWND bar) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(bar, PBM_SETPOS, 5, 0, SMTO_NORMAL, kWaitMs, &result);
}

class MonitorTest : public ProgramTest {
protected:
    void Start() {
        program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        window = MainWindowOf(program.id());
        ASSERT_NE(window, nullptr) << "no main window";
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        slider = Control(window, frmMain::Slider1);
        bar = Control(window, frmMain::ProgressBar2);
        ASSERT_TRUE(slider && bar);
    }
    // Key presses to the slider, which has the focus as the window's first control.
    void MoveSlider(WPARAM key, int times, int expected) {
        for (int i = 0; i < times; ++i) PressKey(slider, key);
        ASSERT_TRUE(WaitUntil([&] { return TrackbarPos(slider) == expected; }))
            << "slider at " << TrackbarPos(slider) << ", expected " << expected;
    }
    std::string Tip(int mb) { return std::to_string(mb) + " MB to free when Optimize is clicked"; }
    void ExpectAmount(int mb) {
        std::string stored = std::to_string(mb);
        EXPECT_TRUE(WaitUntil([&] { return ReadSetting("LastRAMValue") == stored; }))
            << "LastRAMValue is " << ReadSetting("LastRAMValue").value_or("absent") << ", expected "
            << stored;
        std::optional<std::string> tip;
        EXPECT_TRUE(WaitUntil([&] {
            tip = ControlToolTip(window, slider);
            return tip == Tip(mb);
        })) << "the slider's tooltip is \"" << tip.value_or("(none)") << "\"";
    }

    Process program;
    HWND window = nullptr, slider = nullptr, bar = nullptr;
};

TEST_F(MonitorTest, SliderKeysStoreTheAmountAndSetItsTooltip) {
    Start();
    // The focus arrives as the window is activated, a moment after it shows.
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == slider; }))
        << "the slider does not have the focus at start";
    EXPECT_EQ(ReadSetting("LastRAMValue"), std::nullopt) << "stored before any change";

    MoveSlider(VK_RIGHT, 3, 3);
    ExpectAmount(3);
    MoveSlider(VK_NEXT, 1, 8);   // a page is 5
    ExpectAmount(8);
    MoveSlider(VK_LEFT, 1, 7);
    ExpectAmount(7);

    // The next start puts the slider where it was left, tooltip included.
    KillProcessesNamed("Tarvesk.exe");
    Start();
    EXPECT_EQ(TrackbarPos(slider), 7);
    ExpectAmount(7);
}

TEST_F(MonitorTest, OptimizeRunsTheBarToItsEndAndTheTickGoesOn) {
    Start();
    MoveSlider(VK_RIGHT, 3, 3);
    ASSERT_NE(ProgressRange(bar).max, 60);
    EXPECT_EQ(ProgressPos(bar), 0);

    MarkBar(bar);
    ClickControl(window, frmMain::cmdOptimize);
    // 3 MB: the bar's end is 3 x 20 steps, and the run ends back at 0.
    EXPECT_TRUE(WaitUntil([&] { return ProgressRange(bar).max == 60 && ProgressPos(bar) == 0; }))
        << "bar range 0.." << ProgressRange(bar).max << ", at " << ProgressPos(bar);
    EXPECT_EQ(ProgressRange(bar).min, 0);
    EXPECT_TRUE(Answers(window));
    EXPECT_FALSE(Screenshot("optimized_3mb").empty());

    // The optimizer refreshes no readout; a later tick does. Taking memory makes sure the
    // free kilobytes of that tick differ from those the title shows now.
    std::string title = WindowText(window);
    {
        TouchedMemory taken(256u << 20);
        ASSERT_TRUE(taken);
        EXPECT_TRUE(WaitUntil([&] {
            std::string now = WindowText(window);
            return now != title && KilobytesInTitle(now) >= 0;
        })) << "the title stayed \"" << title << "\": no tick after the optimization";
    }

    // The tray menu's Optimize does the same.
    ClickControl(window, frmMain::cmdTray);
    ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip));
    MarkBar(bar);
    PostTrayNotification(window, 1, WM_RBUTTONUP);
    HWND popup = WaitForPopupMenu(program.id());
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(ChoosePopupItem(popup, "&Optimize"));
    EXPECT_TRUE(WaitUntil([&] { return ProgressPos(bar) == 0; })) << "the tray's Optimize did not run";
    EXPECT_EQ(ProgressRange(bar).max, 60);
    EXPECT_TRUE(Answers(window));
    // The warning icon goes at the next tick.
    EXPECT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "the icon did not come back from optimizing";
}

TEST_F(MonitorTest, AutomaticOptimizationRunsOnEveryTickBelowTheAlarm) {
    // An alarm level above the machine's whole memory: every tick is below it.
    MemoryNow memory = Memory();
    const unsigned long long totalMB = memory.totalBytes >> 20;
    const unsigned long long level = totalMB + 1024;
    ASSERT_LT(level, 2147483647ull);
    ASSERT_TRUE(WriteSetting("AutomaticOptimize", "1"));
    ASSERT_TRUE(WriteSetting("AlarmLevel", std::to_string(level)));
    ASSERT_TRUE(WriteSetting("FreeMBatAlarm", "1"));
    Start();

    // Already the start-up tick optimized 1 MB: 20 steps.
    EXPECT_TRUE(WaitUntil([&] { return ProgressRange(bar).max == 20; }))
        << "bar range 0.." << ProgressRange(bar).max;
    // And the ticks after it, with the window shown...
    MarkBar(bar);
    EXPECT_TRUE(WaitUntil([&] { return ProgressPos(bar) == 0; })) << "no optimization on a tick";

    // ...and in the tray, where each shows the warning icon until the next tick.
    ClickControl(window, frmMain::cmdTray);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(WaitForTrayIcon([](const std::string& tip) { return tip == "Optimizing..."; }))
        << "the icon never showed \"Optimizing...\"";
    EXPECT_FALSE(Screenshot("tray_icon_optimizing").empty());
    for (int i = 0; i < 3; ++i) {
        MarkBar(bar);
        EXPECT_TRUE(WaitUntil([&] { return ProgressPos(bar) == 0; }))
            << "optimization " << i + 2 << " in the tray did not come";
        EXPECT_TRUE(Answers(window));
    }
    EXPECT_EQ(ProgressRange(bar).max, 20);

    // After some seconds of this the program still ends cleanly from its menu.
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Exit"}));
    EXPECT_TRUE(program.waitForExit()) << "Exit did not end the program";
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_TRUE(WaitUntil([] {
        for (const TrayIcon& icon : TrayIcons())
            if (IsMemoryTip(icon.tip) || icon.tip == "Optimizing...") return false;
        return true;
    })) << "Exit left the icon";
}

}  // namespace
}  // namespace e2e
