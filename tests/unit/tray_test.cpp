// The tray icon's record and tooltip, entering and leaving tray mode, the icon's mouse
// notifications, and a restart of the shell's notification area.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "main_window_recorder.h"

namespace {

using testing_support::MainWindow;
using testing_support::TipField;
using tarvesk::TrayCommand;
constexpr std::uint64_t MB = MainWindow::MB;

struct Tray : ::testing::Test, MainWindow {
    std::vector<TrayCommand> commands() const {
        std::vector<TrayCommand> seen;
        for (const auto& c : fp.tray.calls) seen.push_back(c.command);
        return seen;
    }
    bool trayItemsVisible() const {
        return f.openmain.visible() && f.optimize.visible() && f.filed0.visible() && f.autooptimize.visible();
    }
    bool trayItemsHidden() const {
        return !f.openmain.visible() && !f.optimize.visible() && !f.filed0.visible() && !f.autooptimize.visible();
    }
    // The icon's notification `code` as the toolkit delivers it: in twips.
    void notifyIcon(int code) {
        f.Form_MouseMove(0, 0, static_cast<float>(code * host.twipsPerPixel), 0);
    }
};

TEST_F(Tray, EnteringAddsTheChipWithThePercentageThenTheTickShowsTheGauge) {
    fp.tray.size = 104;   // the shell's own record size, whatever the platform
    load(128 * MB, 128 * MB);   // everything free: 100%
    f.tray_Click();

    EXPECT_FALSE(f.visible());
    EXPECT_TRUE(trayItemsVisible());
    ASSERT_EQ(commands(), (std::vector{TrayCommand::Add, TrayCommand::Modify}));
    const auto& add = fp.tray.calls[0].record;
    EXPECT_EQ(add.cbSize, 104u);
    EXPECT_EQ(add.hWnd, f.hWnd());
    EXPECT_NE(add.hWnd, 0u);
    EXPECT_EQ(add.uID, 1u);
    EXPECT_EQ(add.uFlags, 7u);
    EXPECT_EQ(add.uCallbackMessage, 0x200u);
    EXPECT_EQ(add.hIcon, 101);
    EXPECT_EQ(add.szTip, TipField("100% Memory Free"));   // 16 characters, the NUL, blanks

    const auto& modify = fp.tray.calls[1].record;
    EXPECT_EQ(modify.hIcon, 106);
    EXPECT_EQ(modify.szTip, TipField("100% Memory Free"));
    EXPECT_EQ(modify.cbSize, 104u);
    EXPECT_EQ(shared.TrayTip, std::string("100% Memory Free") + '\0');
}

TEST_F(Tray, MegabyteTooltipForAnyNonZeroSetting) {
    load(128 * MB, 50 * MB);
    shared.TrayTipInMB = 7;
    f.tray_Click();
    ASSERT_EQ(commands(), (std::vector{TrayCommand::Add, TrayCommand::Modify}));
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("39% Memory Free"));   // the add is always in percent
    EXPECT_EQ(fp.tray.calls[1].record.szTip, TipField("50 MB Free"));
    EXPECT_EQ(shared.TrayTip, std::string("50 MB Free") + '\0');

    fp.tray.calls.clear();
    tick(0);
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("0 MB Free"));
}

TEST_F(Tray, AgentStartAddsZeroPercentBeforeAnyReadout) {
    // At an agent start the load enters tray mode before any tick has run.
    fp.memory.figures = {128 * MB, 50 * MB};
    f.setIcon(101);
    f.InitMemoryTotals();
    f.tray_Click();
    ASSERT_EQ(commands(), (std::vector{TrayCommand::Add, TrayCommand::Modify}));
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("0% Memory Free"));
    EXPECT_EQ(fp.tray.calls[1].record.szTip, TipField("39% Memory Free"));
}

TEST_F(Tray, AutoOptimizeMarkFollowsTheFlagOnEntry) {
    load();
    shared.AutoOptimize = 1;
    f.tray_Click();
    EXPECT_TRUE(f.autooptimize.checked());
    f.openmain_Click();
    shared.AutoOptimize = 0;   // the Configuration dialog switched it off meanwhile
    f.tray_Click();
    EXPECT_FALSE(f.autooptimize.checked());
}

TEST_F(Tray, LeavingDeletesTheLastRecordAndEnteringAgainAddsAfresh) {
    load();
    f.tray_Click();
    const auto lastModify = fp.tray.calls.back().record;
    f.openmain_Click();
    EXPECT_TRUE(f.visible());
    EXPECT_TRUE(trayItemsHidden());
    ASSERT_EQ(fp.tray.calls.size(), 3u);
    EXPECT_EQ(fp.tray.calls[2].command, TrayCommand::Delete);
    EXPECT_EQ(fp.tray.calls[2].record, lastModify);

    f.cmdTray.click();
    ASSERT_EQ(fp.tray.calls.size(), 5u);
    EXPECT_EQ(fp.tray.calls[3].command, TrayCommand::Add);
    EXPECT_EQ(fp.tray.calls[3].record.uID, 1u);
    EXPECT_EQ(fp.tray.calls[3].record.hIcon, 101);
    EXPECT_TRUE(trayItemsVisible());
}

TEST_F(Tray, OnlyDoubleClickAndRightButtonUpAct) {
    load();
    f.tray_Click();
    forget();
    for (int code : {0x200, 0x201, 0x202, 0x204, 0x206, 0, 100, 0x203 + 0x10000}) {
        notifyIcon(code);
    }
    f.Form_MouseMove(0, 0, -7725, 0);
    EXPECT_TRUE(fp.tray.calls.empty());
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(f.inTrayMode());

    notifyIcon(0x205);
    EXPECT_EQ(host.log, std::vector<std::string>{"popup file default=openmain"});
    EXPECT_TRUE(f.inTrayMode());

    notifyIcon(0x203);
    EXPECT_FALSE(f.inTrayMode());
    EXPECT_TRUE(f.visible());
    ASSERT_EQ(fp.tray.calls.size(), 1u);
    EXPECT_EQ(fp.tray.calls[0].command, TrayCommand::Delete);
}

TEST_F(Tray, NotificationCodesSurviveScreensWithOtherPixelSizes) {
    load();
    for (double perPixel : {12.0, 1440.0 / 168}) {   // 120 and 168 dots to the inch
        host.twipsPerPixel = perPixel;
        f.tray_Click();
        forget();
        notifyIcon(0x205);
        EXPECT_EQ(host.log, std::vector<std::string>{"popup file default=openmain"}) << perPixel;
        notifyIcon(0x203);
        EXPECT_FALSE(f.inTrayMode()) << perPixel;
    }
    host.twipsPerPixel = 0;   // a broken screen figure acts on nothing
    f.tray_Click();
    forget();
    f.Form_MouseMove(0, 0, 515, 0);
    EXPECT_TRUE(f.inTrayMode());
}

TEST_F(Tray, ShellRestartAddsTheIconAgainOnlyInTrayMode) {
    load();
    f.Form_TaskbarCreated();
    EXPECT_TRUE(fp.tray.calls.empty());

    shared.TrayTipInMB = 1;
    f.tray_Click();
    tick(20 * MB);
    const auto shown = fp.tray.calls.back().record;
    fp.tray.calls.clear();
    f.Form_TaskbarCreated();
    ASSERT_EQ(commands(), std::vector{TrayCommand::Add});
    EXPECT_EQ(fp.tray.calls[0].record, shown);
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("20 MB Free"));
    EXPECT_EQ(fp.tray.calls[0].record.hIcon, 103);

    f.openmain_Click();
    fp.tray.calls.clear();
    f.Form_TaskbarCreated();
    EXPECT_TRUE(fp.tray.calls.empty());
}

}  // namespace
