// The tray icon's record and tooltip, entering and leaving tray mode, the icon's mouse
// notifications, and a restart of the shell's notification area.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "case_trace.h"
#include "main_window_recorder.h"
#include "mainwindow/tray_record.h"

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
    EXPECT_EQ(add.iconResourceId, 101);
    EXPECT_EQ(add.szTip, TipField("100% Memory Free"));   // 16 characters, the NUL, blanks

    const auto& modify = fp.tray.calls[1].record;
    EXPECT_EQ(modify.iconResourceId, 106);
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
    EXPECT_EQ(fp.tray.calls[3].record.iconResourceId, 101);
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

TEST_F(Tray, MouseMovesOverTheShownWindowNeverActAtAnyScale) {
    // At 200 % the window is 568 pixels wide: the pointer passes x = 515 and 517, the
    // codes of a double-click and of a right button's release.
    for (int dpi : {96, 120, 144, 192, 288}) {
        CASE_TRACE(dpi);
        MainWindow w;
        w.host.twipsPerPixel = 1440.0 / dpi;
        w.load();
        w.f.show();
        w.forget();
        for (int x = 0; x <= 2 * 568; ++x)
            w.f.Form_MouseMove(0, 0, static_cast<float>(x * w.host.twipsPerPixel), 0);
        EXPECT_TRUE(w.host.log.empty()) << "first: " << (w.host.log.empty() ? "" : w.host.log[0]);
        EXPECT_TRUE(w.fp.tray.calls.empty());
        EXPECT_FALSE(w.f.inTrayMode());
        EXPECT_TRUE(w.f.visible());
    }
}

TEST_F(Tray, NotificationCodesSurviveScreensWithOtherPixelSizes) {
    load();
    for (double perPixel : {12.0, 1440.0 / 125, 1440.0 / 168}) {   // 120, 125 and 168 dots to the inch
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

TEST_F(Tray, ClosingTheHiddenWindowTakesTheIconWithIt) {
    // A WM_CLOSE from outside (taskkill without /F), or the end of the session, unloads the
    // main window while it is hidden in the tray.
    load();
    f.tray_Click();
    const auto shown = fp.tray.calls.back().record;
    forget();
    f.unload();
    ASSERT_EQ(commands(), std::vector{TrayCommand::Delete});
    EXPECT_EQ(fp.tray.calls[0].record, shown);
    EXPECT_TRUE(trayItemsHidden());
    EXPECT_FALSE(f.loaded());
    EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(Tray, TheShellHearsOfTheIconOnlyWhenItsPictureOrTooltipChanged) {
    load(128 * MB, 50 * MB);
    f.tray_Click();
    forget();

    tick(50 * MB);   // the same gauge and "39% Memory Free"
    tick(50 * MB + 4096);
    EXPECT_TRUE(fp.tray.calls.empty());
    EXPECT_EQ(shared.TrayIconData.szTip, TipField("39% Memory Free"));

    tick(52 * MB);   // 41 %: a new tooltip, the same picture
    ASSERT_EQ(commands(), std::vector{TrayCommand::Modify});
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("41% Memory Free"));
    EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 102);

    fp.tray.calls.clear();
    tick(65 * MB);   // 51 %: a new picture too
    ASSERT_EQ(commands(), std::vector{TrayCommand::Modify});
    EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 106);

    // The optimizer's warning goes out, and the unchanged gauge after it as well.
    fp.tray.calls.clear();
    f.optimize.click();
    tick(65 * MB);
    ASSERT_EQ(fp.tray.calls.size(), 2u);
    EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 108);
    EXPECT_EQ(fp.tray.calls[1].record.iconResourceId, 106);
    EXPECT_EQ(fp.tray.calls[1].record.szTip, TipField("51% Memory Free"));

    // The tooltip's form is part of what the shell shows.
    fp.tray.calls.clear();
    shared.TrayTipInMB = 1;
    tick(65 * MB);
    ASSERT_EQ(fp.tray.calls.size(), 1u);
    EXPECT_EQ(fp.tray.calls[0].record.szTip, TipField("65 MB Free"));
}

TEST_F(Tray, ARefusedRefreshIsSentAgainOnTheNextTick) {
    load(128 * MB, 50 * MB);
    f.tray_Click();
    tick(52 * MB);
    forget();
    fp.tray.refuse = true;
    tick(65 * MB);
    tick(65 * MB);
    fp.tray.refuse = false;
    tick(65 * MB);
    tick(65 * MB);   // taken now: the same record is not sent again
    ASSERT_EQ(fp.tray.calls.size(), 3u);
    for (const auto& call : fp.tray.calls) EXPECT_EQ(call.record.iconResourceId, 106);

    // A refused add likewise: the tick after it sends its modify.
    f.openmain_Click();
    fp.tray.refuse = true;
    f.tray_Click();
    fp.tray.refuse = false;
    forget();
    tick(65 * MB);
    ASSERT_EQ(commands(), std::vector{TrayCommand::Modify});
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
    EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 103);

    // Added again, the icon is what the shell shows: an unchanged tick sends nothing.
    fp.tray.calls.clear();
    tick(20 * MB);
    EXPECT_TRUE(fp.tray.calls.empty());

    f.openmain_Click();
    fp.tray.calls.clear();
    f.Form_TaskbarCreated();
    EXPECT_TRUE(fp.tray.calls.empty());
}

TEST(TrayRecord, EveryFieldIsFilledAndTheTooltipIsAFixedLengthText) {
    tarvesk::TrayIconRecord record;
    record.szTip.fill('x');
    const std::string tip = tarvesk::TrayTipText(false, 100, 0);
    EXPECT_EQ(tip, std::string("100% Memory Free") + '\0');   // 16 characters and the NUL
    tarvesk::FillTrayRecord(record, 88, 0x1234, 106, tip);
    EXPECT_EQ(record.cbSize, 88u);
    EXPECT_EQ(record.hWnd, 0x1234u);
    EXPECT_EQ(record.uID, 1u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 0x200u);
    EXPECT_EQ(record.iconResourceId, 106);
    EXPECT_EQ(record.szTip, TipField("100% Memory Free"));

    // A text longer than the field is cut at 64 characters.
    const std::string longer(70, 'a');
    tarvesk::FillTrayRecord(record, 88, 0x1234, 106, longer);
    EXPECT_EQ(std::string(record.szTip.begin(), record.szTip.end()), std::string(64, 'a'));

    EXPECT_EQ(tarvesk::TrayTipText(true, 39, 0), std::string("0 MB Free") + '\0');
    EXPECT_EQ(tarvesk::TrayTipText(true, 39, -3), std::string("-3 MB Free") + '\0');
    EXPECT_EQ(tarvesk::TrayTipText(false, 0, 50), std::string("0% Memory Free") + '\0');
}

TEST(TrayRecord, NotificationCodeIsXOverTheTwipsPerPixelRounded) {
    EXPECT_EQ(tarvesk::TrayNotificationCode(0x205 * 15.0f, 15), 0x205);
    EXPECT_EQ(tarvesk::TrayNotificationCode(0x203 * 7.5f, 7.5), 0x203);
    // 125 dots to the inch: 11.52 twips a pixel, which float x cannot hold exactly; the
    // quotient comes out a little under the code.
    for (long code : {0x203L, 0x205L})
        EXPECT_EQ(tarvesk::TrayNotificationCode(static_cast<float>(code * (1440.0 / 125)), 1440.0 / 125), code);
    EXPECT_EQ(tarvesk::TrayNotificationCode(0, 15), 0);
    EXPECT_EQ(tarvesk::TrayNotificationCode(65535 * 15.0f, 15), 65535);
    EXPECT_EQ(tarvesk::TrayNotificationCode(65536 * 15.0f, 15), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(-15.0f, 15), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(515 * 15.0f, 0), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(515 * 15.0f, -15), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(-515 * 15.0f, -15), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(std::numeric_limits<float>::quiet_NaN(), 15), -1);
    EXPECT_EQ(tarvesk::TrayNotificationCode(std::numeric_limits<float>::infinity(), 15), -1);
}

}  // namespace
