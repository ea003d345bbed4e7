// The main program without visual styles, as on Windows before XP, which has no common
// controls 6: a copy of Tarvesk.exe without its manifest gets the classic controls. Its
// three windows are driven (slider, progress bars, buttons, check boxes, option buttons)
// and their tooltips shown, and photographed.
#include "ControlIds.h"
#include "Driver.h"
#include "ToolTips.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

class ClassicControlsTest : public ProgramTest {
protected:
    const std::string folder = "C:\\Tarvesk Classic";
    std::string classic() const { return JoinPath(folder, "Tarvesk.exe"); }

    void SetUp() override {
        ProgramTest::SetUp();
        GetCursorPos(&pointer);
        ASSERT_TRUE(HasManifest(MainProgram())) << MainProgram() << " has no manifest to leave out";
        ASSERT_TRUE(MakeFolders(folder));
        ASSERT_TRUE(CopyWithoutManifest(MainProgram(), classic())) << classic();
        program = Process::StartWatched(classic());
        ASSERT_TRUE(program) << "cannot start " << classic() << ", error " << program.error();
        main = MainWindowOf(program.id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(WindowText(main)) >= 0; }));
    }
    void TearDown() override {
        ProgramTest::TearDown();
        // The pointer goes back where it was: a later test's windows may lie under it.
        SetCursorPos(pointer.x, pointer.y);
        DeleteFileA(classic().c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // The window of the program whose title starts so, once it is shown.
    HWND WaitForShown(const std::string& title) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
                if (IsWindowVisible(window) && WindowText(window).rfind(title, 0) == 0) {
                    found = window;
                    return true;
                }
            return false;
        });
        return found;
    }
    // Rests the pointer on the control until its tooltip shows, and photographs that.
    void ExpectToolTipShown(HWND form, int id, const std::string& text, const std::string& name) {
        HWND control = Control(form, id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ControlToolTip(form, control), text) << "the control's tool";
        ASSERT_TRUE(WaitUntilPainted(form));
        ASSERT_TRUE(WaitForShownToolTip(control, text)) << "no tooltip \"" << text << "\" shown";
        EXPECT_FALSE(Screenshot(name).empty());
    }

    // Common controls 4.70 and 5 refuse a tool record larger than they know (the one with
    // lParam, TTTOOLINFO_V2_SIZE), and the tooltip silently never shows. Wine accepts any,
    // so the sizes the program handed its tooltip windows are checked instead.
    void ExpectToolRecordsCommonControls5Knows() {
        const unsigned largest = ProgramsAre32Bit() ? 44 : TTTOOLINFOA_V2_SIZE;
        const std::vector<unsigned> sizes = ToolRecordSizes();
        EXPECT_FALSE(sizes.empty()) << "no tool record seen";
        for (unsigned size : sizes) EXPECT_LE(size, largest) << "a tool record of " << size << " bytes";
    }

    Process program;
    HWND main = nullptr;
    POINT pointer{};
};

TEST_F(ClassicControlsTest, MainWindowSliderGaugeOptimizeAndTooltips) {
    HWND slider = Control(main, frmMain::Slider1), gauge = Control(main, frmMain::ProgressBar1),
         bar = Control(main, frmMain::ProgressBar2);
    ASSERT_TRUE(slider && gauge && bar);
    // The gauge shows the free share of memory out of its whole range.
    const Range range = ProgressRange(gauge);
    EXPECT_LT(range.min, range.max);
    EXPECT_GT(ProgressPos(gauge), range.min);
    EXPECT_LE(ProgressPos(gauge), range.max);

    for (int i = 0; i < 2; ++i) PressKey(slider, VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return TrackbarPos(slider) == 2; }));
    EXPECT_TRUE(WaitUntil([&] {
        return ControlToolTip(main, slider) == "2 MB to free when Optimize is clicked";
    })) << ControlToolTip(main, slider).value_or("(no tool)");

    ClickControl(main, frmMain::cmdOptimize);
    EXPECT_TRUE(WaitUntil([&] { return ProgressRange(bar).max == 40 && ProgressPos(bar) == 0; }))
        << "bar 0.." << ProgressRange(bar).max << " at " << ProgressPos(bar);
    EXPECT_TRUE(Answers(main));

    ExpectToolTipShown(main, frmMain::cmdOptimize, "Optimizes Memory", "classic_main_tooltip");
    ExpectToolTipShown(main, frmMain::ProgressBar1, "% Memory Free", "classic_main_gauge_tooltip");
    ExpectToolRecordsCommonControls5Knows();
}

TEST_F(ClassicControlsTest, ConfigurationCheckBoxesOptionButtonsAndBoxes) {
    ASSERT_TRUE(ChooseMenuItem(main, {"&Settings", "&Configuration"}));
    HWND dialog = WaitForShown("Configuration");
    ASSERT_NE(dialog, nullptr);
    HWND automatic = Control(dialog, frmSettings::chkAutomatic),
         percent = Control(dialog, frmSettings::optPer),
         megabytes = Control(dialog, frmSettings::optMB),
         level = Control(dialog, frmSettings::txtAlarm),
         amount = Control(dialog, frmSettings::txtFreeAlarm);
    ASSERT_TRUE(automatic && percent && megabytes && level && amount);

    // The boxes follow the check box.
    EXPECT_FALSE(IsChecked(automatic));
    EXPECT_FALSE(IsWindowEnabled(level));
    Click(automatic);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(automatic) && IsWindowEnabled(level); }));
    EXPECT_TRUE(IsWindowEnabled(amount));
    // Option buttons: one of the two at a time.
    EXPECT_TRUE(IsChecked(percent));
    Click(megabytes);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(megabytes) && !IsChecked(percent); }));
    // The amount first: a level above the amount would bring an Error message.
    TypeText(amount, "16");
    TypeText(level, "8");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(level) == "8" && WindowText(amount) == "16"; }));

    ExpectToolTipShown(dialog, frmSettings::cmdDone, "Saves changes", "classic_configuration");
    ClickControl(dialog, frmSettings::cmdCancel);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(ReadSetting("AlarmLevel"), std::nullopt) << "Cancel stored the level";
    ExpectToolRecordsCommonControls5Knows();
}

TEST_F(ClassicControlsTest, AboutWindowAndItsCloseButton) {
    ClickControl(main, frmMain::cmdAbout);
    HWND about = WaitForShown("About Tarvesk - Version ");
    ASSERT_NE(about, nullptr);
    ExpectToolTipShown(about, frmAbout::cmdClose, "Closes this Screen", "classic_about");
    ClickControl(about, frmAbout::cmdClose);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(Answers(main));
    ExpectToolRecordsCommonControls5Knows();
}

}  // namespace
}  // namespace e2e
