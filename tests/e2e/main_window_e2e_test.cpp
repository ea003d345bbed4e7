// The main window as a user first sees it: title, readouts, controls and menu bar. Tray
// mode and back is tray_e2e_test.
#include <cmath>

#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

// Kilobytes and megabytes the way the program rounds them: to nearest, halves to even,
// megabytes from the already rounded kilobytes.
long long RoundedKB(unsigned long long bytes) {
    return static_cast<long long>(std::nearbyint(static_cast<double>(bytes) / 1024.0));
}
long long RoundedMB(unsigned long long bytes) {
    return static_cast<long long>(std::nearbyint(static_cast<double>(RoundedKB(bytes)) / 1024.0));
}

class MainWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        program = Process::StartWatched(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        window = WaitForWindow(program.id(), "TarveskForm", [](const std::string& title) {
            return KilobytesInTitle(title) >= 0;
        });
        ASSERT_NE(window, nullptr) << "no main window titled \"N KB Free\"";
    }
    Process program;
    HWND window = nullptr;
};

TEST_F(MainWindowTest, TitleAndLabelShowThisMachinesMemory) {
    ASSERT_TRUE(IsWindowVisible(window));
    long long titleKB = KilobytesInTitle(WindowText(window));
    MemoryNow memory = Memory();
    long long totalKB = RoundedKB(memory.totalBytes);
    long long totalMB = RoundedMB(memory.totalBytes);
    long long availableKB = RoundedKB(memory.availableBytes);
    // Free memory moves between the program's sample and ours; a twentieth of the machine
    // is far more than it moves in a second and far less than a wrong figure is off by.
    EXPECT_NEAR(static_cast<double>(titleKB), static_cast<double>(availableKB),
                static_cast<double>(totalKB) / 20.0);

    // "39% of 128 MB Free"
    std::string label = ControlText(window, frmMain::labMem);
    std::string suffix = " MB Free";
    auto percentEnd = label.find("% of ");
    ASSERT_NE(percentEnd, std::string::npos) << label;
    ASSERT_GT(label.size(), suffix.size());
    ASSERT_EQ(label.substr(label.size() - suffix.size()), suffix) << label;
    int percent = std::stoi(label.substr(0, percentEnd));
    long long labelMB = std::stoll(label.substr(percentEnd + 5));
    EXPECT_EQ(labelMB, totalMB) << label;
    EXPECT_NEAR(percent, 100.0 * static_cast<double>(titleKB) / static_cast<double>(totalKB), 5.0)
        << label;

    // The gauge shows free megabytes out of the total; the slider chooses up to the total.
    HWND gauge = Control(window, frmMain::ProgressBar1);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(ProgressRange(gauge).min, 0);
    EXPECT_EQ(ProgressRange(gauge).max, totalMB);
    EXPECT_NEAR(ProgressPos(gauge), static_cast<double>(titleKB) / 1024.0,
                static_cast<double>(totalMB) / 20.0);
    HWND slider = Control(window, frmMain::Slider1);
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(TrackbarRange(slider).min, 0);
    EXPECT_EQ(TrackbarRange(slider).max, totalMB);
    EXPECT_EQ(TrackbarPos(slider), 0);   // no LastRAMValue stored

    EXPECT_FALSE(Screenshot("main_window").empty());
}

TEST_F(MainWindowTest, FirstShownWithItsReadouts) {
    // Start-up fills the title before the window is first displayed: it never shows
    // "Tarvesk" or the label's placeholder.
    std::string first;
    for (const std::string& line : ShownWindows())
        if (line.rfind("TarveskForm\t", 0) == 0) {
            first = line.substr(12);
            break;
        }
    EXPECT_GE(KilobytesInTitle(first), 0) << "first shown as \"" << first << "\"";
    EXPECT_NE(ControlText(window, frmMain::labMem), "99% of 128 MB Free");
}

TEST_F(MainWindowTest, ControlsHaveTheirKindsAndCaptions) {
    struct Expected {
        int id;
        const char* className;
        const char* text;   // nullptr: not checked
    };
    const Expected controls[] = {
        {frmMain::Slider1, "msctls_trackbar32", nullptr},
        {frmMain::Label1, "Static", "Amount of RAM to Free(in MB) when Optimize is clicked"},
        {frmMain::ProgressBar1, "msctls_progress32", nullptr},
        {frmMain::cmdOptimize, "Button", "&Optimize"},
        {frmMain::cmdAbout, "Button", "&About"},
        {frmMain::cmdTray, "Button", "&Send To Tray"},
        {frmMain::labMem, "Static", nullptr},
        {frmMain::ProgressBar2, "msctls_progress32", nullptr},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.id);
        HWND control = Control(window, expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), expected.className);
        if (expected.text) {
            EXPECT_EQ(WindowText(control), expected.text);
        }
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(IsWindowEnabled(control));
    }
    HWND progress = Control(window, frmMain::ProgressBar2);
    EXPECT_EQ(ProgressPos(progress), 0);
}

TEST_F(MainWindowTest, MenuBarHidesTheTrayItemsAtStartUp) {
    auto menu = ReadMenu(window);
    ASSERT_TRUE(menu) << "the menu bar could not be read";
    using Names = std::vector<std::string>;
    EXPECT_EQ(Captions(*menu), (Names{"&File", "&Settings", "&Help"}));
    const MenuItem* file = FindMenuItem(*menu, {"&File"});
    const MenuItem* settings = FindMenuItem(*menu, {"&Settings"});
    const MenuItem* help = FindMenuItem(*menu, {"&Help"});
    ASSERT_TRUE(file && settings && help);
    EXPECT_EQ(Captions(file->items),
              (Names{"Shut Down Windows", "&Reboot Windows", "&Log Off Windows", "-", "&About", "-",
                     "&Exit"}));
    EXPECT_EQ(Captions(settings->items), (Names{"&Configuration", "-", "&Send To Tray"}));
    EXPECT_EQ(Captions(help->items), (Names{"&Contents", "-", "&About"}));
    for (const MenuItem* top : {file, settings, help})
        for (const MenuItem& item : top->items) {
            EXPECT_FALSE(item.grayed) << item.caption;
            EXPECT_FALSE(item.checked) << item.caption;
        }
}

}  // namespace
}  // namespace e2e
