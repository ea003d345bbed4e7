// The main program in the notification area: entering tray mode from the menu and the
// button, the icon's live tooltip in both forms, the icon's notifications and its pop-up
// menu, and the shell's "TaskbarCreated" broadcast.
#include <cmath>
#include <cstring>

#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

constexpr UINT kIconId = 1;

// The number in front of a tooltip ("39% Memory Free" -> 39); -1 for another text.
long long TipNumber(const std::string& tip) {
    if (!IsMemoryTip(tip)) return -1;
    return std::stoll(tip.substr(0, tip.find_first_not_of("-0123456789")));
}
bool IsPercentTip(const std::string& tip) {
    return IsMemoryTip(tip) && tip.find("% Memory Free") != std::string::npos;
}
bool IsMegabyteTip(const std::string& tip) {
    return IsMemoryTip(tip) && tip.find(" MB Free") != std::string::npos;
}

// The icons of the main program in the taskbar: those with one of its tooltips.
std::vector<std::string> ProgramIcons() {
    std::vector<std::string> tips;
    for (const TrayIcon& icon : TrayIcons())
        if (IsMemoryTip(icon.tip) || icon.tip == "Optimizing...") tips.push_back(icon.tip);
    return tips;
}

double FreePercentNow() {
    MemoryNow memory = Memory();
    return 100.0 * static_cast<double>(memory.availableBytes) /
           static_cast<double>(memory.totalBytes);
}
double FreeMBNow() { return static_cast<double>(Memory().availableBytes) / 1048576.0; }

class TrayTest : public ProgramTest {
protected:
    // Starts the main program with the settings already stored and waits for its window.
    void Start() {
        program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        window = MainWindowOf(program.id());
        ASSERT_NE(window, nullptr) << "no main window";
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    }
    void SendToTrayWithTheButton() {
        ClickControl(window, frmMain::cmdTray);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
        ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "no tray icon with a memory tooltip";
    }
    // Right-clicks the icon and returns its pop-up menu with the items it shows.
    HWND OpenIconMenu(std::vector<MenuItem>& items) {
        PostTrayNotification(window, kIconId, WM_RBUTTONUP);
        HWND popup = WaitForPopupMenu(program.id());
        if (!popup) return nullptr;
        if (auto read = ReadMenu(popup, PopupMenuHandle(popup))) items = *read;
        return popup;
    }
    bool InTrayMenuBar() {
        auto menu = ReadMenu(window);
        return menu && FindMenuItem(*menu, {"&File", "Open &Main Window"}) != nullptr;
    }

    Process program;
    HWND window = nullptr;
};

TEST_F(TrayTest, SettingsMenuSendsToTrayAndDoubleClickBringsTheWindowBack) {
    Start();
    ASSERT_TRUE(ProgramIcons().empty()) << "an icon before tray mode";
    ASSERT_TRUE(ChooseMenuItem(window, {"&Settings", "&Send To Tray"}));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); })) << "the window stayed";
    auto tip = WaitForTrayIcon(IsPercentTip);
    ASSERT_TRUE(tip) << "no icon with \"N% Memory Free\"";
    EXPECT_EQ(ProgramIcons().size(), 1u);
    // Free memory moves between the program's sample and ours; five points is far more
    // than it moves in a second and far less than a wrong figure is off by.
    EXPECT_NEAR(static_cast<double>(TipNumber(*tip)), FreePercentNow(), 5.0) << *tip;
    // The tray-only items are in the File menu now.
    auto menu = ReadMenu(window);
    ASSERT_TRUE(menu);
    const MenuItem* file = FindMenuItem(*menu, {"&File"});
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Captions(file->items),
              (std::vector<std::string>{"Open &Main Window", "&Enable Automatic RAM Optimization", "&Optimize",
                                        "-", "Shut Down Windows", "&Reboot Windows", "&Log Off Windows", "-",
                                        "&About", "-", "&Exit"}));
    EXPECT_FALSE(Screenshot("tray_icon_percent").empty());

    PostTrayNotification(window, kIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }))
        << "a double-click did not bring the window back";
    EXPECT_TRUE(WaitUntil([] { return ProgramIcons().empty(); })) << "the icon stayed";
    EXPECT_FALSE(InTrayMenuBar()) << "the tray-only items stayed in the File menu";

    // The button does the same as the menu item, and the icon is added afresh.
    SendToTrayWithTheButton();
    EXPECT_EQ(ProgramIcons().size(), 1u);
    EXPECT_TRUE(InTrayMenuBar());
    EXPECT_TRUE(Answers(window));
}

TEST_F(TrayTest, MegabyteTooltipFollowsFreeMemory) {
    ASSERT_TRUE(WriteSetting("SysTrayTTT", "1"));
    ASSERT_TRUE(WriteSetting("AutomaticOptimize", "1"));   // no alarm level: never optimizes
    Start();
    HWND bar = Control(window, frmMain::ProgressBar2);
    ASSERT_NE(bar, nullptr);
    const Range barBefore = ProgressRange(bar);

    ClickControl(window, frmMain::cmdTray);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));
    // The add carries the percentage; the tick right after it the megabytes.
    auto tip = WaitForTrayIcon(IsMegabyteTip);
    ASSERT_TRUE(tip) << "no icon with \"N MB Free\"";
    EXPECT_NEAR(static_cast<double>(TipNumber(*tip)), FreeMBNow(), FreeMBNow() / 20.0) << *tip;

    // Half a gigabyte less free memory: a later tick shows it.
    const long long before = TipNumber(*tip);
    {
        TouchedMemory taken(512u << 20);
        ASSERT_TRUE(taken);
        std::string now;
        EXPECT_TRUE(WaitUntil([&] {
            auto icons = ProgramIcons();
            now = icons.size() == 1 ? icons[0] : std::string();
            long long mb = TipNumber(now);
            return mb >= 0 && mb != before && std::fabs(static_cast<double>(mb) - FreeMBNow()) < 128;
        })) << "the tooltip stayed at \"" << *tip << "\" (now \"" << now << "\", "
            << FreeMBNow() << " MB free)";
    }
    EXPECT_FALSE(Screenshot("tray_icon_megabytes").empty());

    // The stored flag shows as the check mark of the tray menu.
    std::vector<MenuItem> items;
    HWND popup = OpenIconMenu(items);
    ASSERT_NE(popup, nullptr) << "no pop-up menu after a right click on the icon";
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[1].caption, "&Enable Automatic RAM Optimization");
    EXPECT_TRUE(items[1].checked);
    PressKey(popup, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }));

    // With no alarm level no tick ever optimized.
    const Range barAfter = ProgressRange(bar);
    EXPECT_EQ(barAfter.max, barBefore.max);
    EXPECT_EQ(ProgressPos(bar), 0);
    for (const std::string& shown : ProgramIcons()) EXPECT_NE(shown, "Optimizing...");
}

TEST_F(TrayTest, IconMenuTogglesAutomaticOptimizationAndExitLeavesNoIcon) {
    Start();
    SendToTrayWithTheButton();

    // Pointer movement, single clicks, the right button going down and a right
    // double-click do nothing; the right button's release after them opens the menu.
    for (UINT ignored : {UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP},
                         UINT{WM_RBUTTONDOWN}, UINT{WM_RBUTTONDBLCLK}})
        PostTrayNotification(window, kIconId, ignored);
    std::vector<MenuItem> items;
    HWND popup = OpenIconMenu(items);
    ASSERT_NE(popup, nullptr) << "no pop-up menu after a right click on the icon";
    EXPECT_FALSE(IsWindowVisible(window)) << "an ignored notification showed the window";
    EXPECT_EQ(ProgramIcons().size(), 1u);
    using Names = std::vector<std::string>;
    EXPECT_EQ(Captions(items),
              (Names{"Open &Main Window", "&Enable Automatic RAM Optimization", "&Optimize", "-",
                     "Shut Down Windows", "&Reboot Windows", "&Log Off Windows", "-", "&About", "-",
                     "&Exit"}));
    ASSERT_GE(items.size(), 3u);
    EXPECT_TRUE(items[0].isDefault) << "\"Open &Main Window\" is not the bold item";
    for (std::size_t i = 1; i < items.size(); ++i) EXPECT_FALSE(items[i].isDefault) << items[i].caption;
    EXPECT_FALSE(items[1].checked) << "nothing stored, yet the mark is set";
    EXPECT_FALSE(Screenshot("tray_popup_unchecked").empty());

    // Choosing the item sets the mark and stores the flag at once.
    ASSERT_TRUE(ChoosePopupItem(popup, "&Enable Automatic RAM Optimization"));
    EXPECT_TRUE(WaitUntil([] { return ReadSetting("AutomaticOptimize") == "1"; }))
        << "AutomaticOptimize is " << ReadSetting("AutomaticOptimize").value_or("absent");
    popup = OpenIconMenu(items);
    ASSERT_NE(popup, nullptr);
    ASSERT_GE(items.size(), 2u);
    EXPECT_TRUE(items[1].checked) << "the mark did not follow the flag";
    EXPECT_FALSE(Screenshot("tray_popup_checked").empty());

    ASSERT_TRUE(ChoosePopupItem(popup, "&Exit"));
    EXPECT_TRUE(program.waitForExit()) << "Exit did not end the program";
    EXPECT_TRUE(WaitUntil([] { return ProgramIcons().empty(); })) << "Exit left the icon";
}

TEST_F(TrayTest, TaskbarCreatedKeepsExactlyOneCurrentIcon) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbarCreated, 0u);
    auto announce = [&] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(window, taskbarCreated, 0, 0, SMTO_NORMAL, kWaitMs, &result) != 0;
    };
    Start();

    // A shown window has no icon to add again.
    ASSERT_TRUE(announce());
    EXPECT_TRUE(ProgramIcons().empty()) << "the broadcast added an icon outside tray mode";

    SendToTrayWithTheButton();
    ASSERT_TRUE(announce());
    auto icons = ProgramIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_TRUE(IsPercentTip(icons[0])) << icons[0];
    EXPECT_NEAR(static_cast<double>(TipNumber(icons[0])), FreePercentNow(), 5.0) << icons[0];
    // And after the next ticks still one.
    Pause(1500);
    EXPECT_EQ(ProgramIcons().size(), 1u);

    PostTrayNotification(window, kIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    ASSERT_TRUE(WaitUntil([] { return ProgramIcons().empty(); }));
    ASSERT_TRUE(announce());
    EXPECT_TRUE(ProgramIcons().empty()) << "the broadcast brought back a deleted icon";
}

}  // namespace
}  // namespace e2e
