// The main program without visual styles, as on Windows before XP, which has no common
// controls 6: a copy of Tarvesk.exe without its manifest gets the classic controls. Its
// three windows are driven (slider, progress bars, buttons, check boxes, option buttons)
// and their tooltips shown, and photographed.
#include "Driver.h"
#include "ToolTips.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

// frmMain
constexpr int kSlider = 100, kGauge = 102, kOptimize = 103, kAboutButton = 104, kBar = 107;
// frmSettings
constexpr int kAutomatic = 100, kDone = 102, kCancel = 103, kAmount = 105, kLevel = 106,
              kPercent = 110, kMegabytes = 111;
// frmAbout
constexpr int kClose = 103;

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

    // The window of the program with this title, once it is shown.
    HWND WaitForShown(const std::string& title) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
                if (IsWindowVisible(window) && WindowText(window) == title) {
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
    HWND slider = Control(main, kSlider), gauge = Control(main, kGauge), bar = Control(main, kBar);
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

    ClickControl(main, kOptimize);
    EXPECT_TRUE(WaitUntil([&] { return ProgressRange(bar).max == 40 && ProgressPos(bar) == 0; }))
        << "bar 0.." << ProgressRange(bar).max << " at " << ProgressPos(bar);
    EXPECT_TRUE(Answers(main));

    ExpectToolTipShown(main, kOptimize, "Optimizes Memory", "classic_main_tooltip");
    ExpectToolTipShown(main, kGauge, "% Memory Free", "classic_main_gauge_tooltip");
    ExpectToolRecordsCommonControls5Knows();
}

TEST_F(ClassicControlsTest, ConfigurationCheckBoxesOptionButtonsAndBoxes) {
    ASSERT_TRUE(ChooseMenuItem(main, {"&Settings", "&Configuration"}));
    HWND dialog = WaitForShown("Configuration");
    ASSERT_NE(dialog, nullptr);
    HWND automatic = Control(dialog, kAutomatic), percent = Control(dialog, kPercent),
         megabytes = Control(dialog, kMegabytes), level = Control(dialog, kLevel),
         amount = Control(dialog, kAmount);
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

    ExpectToolTipShown(dialog, kDone, "Saves changes", "classic_configuration");
    ClickControl(dialog, kCancel);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(ReadSetting("AlarmLevel"), std::nullopt) << "Cancel stored the level";
    ExpectToolRecordsCommonControls5Knows();
}

TEST_F(ClassicControlsTest, AboutWindowAndItsCloseButton) {
    ClickControl(main, kAboutButton);
    HWND about = WaitForShown("About Tarvesk - Version 1.0.13");
    ASSERT_NE(about, nullptr);
    ExpectToolTipShown(about, kClose, "Closes this Screen", "classic_about");
    ClickControl(about, kClose);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(Answers(main));
    ExpectToolRecordsCommonControls5Knows();
}

}  // namespace
}  // namespace e2e
