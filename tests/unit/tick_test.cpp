// The one-second tick: the gauge picture in tray mode, the alarm and the automatic
// optimization, and the menu toggle of automatic optimization.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "main_window_recorder.h"

namespace {

using testing_support::MainWindow;
using tarvesk::TrayCommand;
constexpr std::uint64_t MB = MainWindow::MB;
using Sizes = std::vector<std::uint64_t>;

struct Tick : ::testing::Test, MainWindow {
    void autoOptimize(std::int32_t alarmMB, std::int32_t freeMB) {
        shared.AutoOptimize = 1;
        shared.AlarmLevelMB = alarmMB;
        shared.FreeAtAlarmMB = freeMB;
    }
};

TEST_F(Tick, InTrayModeEachTickShowsTheGaugeForTheUnroundedFreeMemory) {
    // 100 MB and 511 bytes: the start-up total rounds to 102,400 KB, whose twentieth is
    // 5120 KB; the unrounded total's twentieth would be a little more. (The bounds on
    // their own are in monitor_test.)
    load(100 * MB + 511);
    f.tray_Click();
    const std::vector<std::pair<std::uint64_t, int>> table = {
        {5120 * 1024, 104},       // on the twentieth: the lower picture
        {5120 * 1024 + 1, 103},   // above it, though the kilobytes round onto it
        {1024, 105},              // 1 KB
        {1025, 104},
        {51200 * 1024 + 1, 106},  // above the half
        {51200 * 1024, 102},
    };
    for (const auto& [bytes, icon] : table) {
        fp.tray.calls.clear();
        tick(bytes);
        EXPECT_EQ(shared.TrayPicture, icon) << bytes << " bytes free";
        ASSERT_EQ(fp.tray.calls.size(), 1u) << bytes << " bytes free";
        EXPECT_EQ(fp.tray.calls[0].command, TrayCommand::Modify);
        EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, icon) << bytes << " bytes free";
    }
}

TEST_F(Tick, OutsideTrayModeTheIconIsLeftAlone) {
    load();
    shared.TrayPicture = 0;
    tick(1 * MB);
    EXPECT_TRUE(fp.tray.calls.empty());
    EXPECT_EQ(shared.TrayPicture, 0);
    EXPECT_EQ(f.caption(), "1024 KB Free");   // the readouts run in both modes
}

TEST_F(Tick, AlarmNeedsFreeMemoryStrictlyBelowTheLevel) {
    load();
    autoOptimize(16, 32);
    tick(16 * MB);
    EXPECT_TRUE(fp.blocks.requests.empty());

    tick(16252928);   // 15.5 MB: the readout rounds to 16, the alarm compares 15.5
    EXPECT_EQ(shared.FreeMB, 16);
    EXPECT_EQ(fp.blocks.requests, Sizes{64 * MB});
    EXPECT_TRUE(f.Timer1.enabled());

    tick(16252928);   // still below: every tick optimizes again
    EXPECT_EQ(fp.blocks.requests.size(), 2u);
}

TEST_F(Tick, NoAutomaticOptimizationUnlessOnAndAboveZero) {
    load();
    autoOptimize(0, 32);
    tick(0);   // never below 0 MB
    shared.AutoOptimize = 2;
    shared.AlarmLevelMB = 16;
    tick(1 * MB);   // only 1 means on
    shared.AutoOptimize = 0;
    tick(1 * MB);
    EXPECT_TRUE(fp.blocks.requests.empty());
    EXPECT_EQ(fp.blocks.log, std::vector<std::string>{});   // the timer was never touched
}

TEST_F(Tick, AmountsBeyond16BitsAndBeyond2048MBAreFreedInFull) {
    load(64ull * 1024 * MB);   // 64 GB
    autoOptimize(16, 33000);
    tick(1 * MB);
    EXPECT_EQ(fp.blocks.requests, Sizes{66000 * MB});
    EXPECT_EQ(host.progressMax, 660000);
}

TEST_F(Tick, ZeroOrNegativeAmountFreesNothingButShowsTheWarningInTrayMode) {
    load();
    f.tray_Click();
    for (std::int32_t amount : {0, -5}) {
        forget();
        autoOptimize(16, amount);
        tick(1 * MB);
        EXPECT_TRUE(fp.blocks.requests.empty());
        ASSERT_EQ(fp.tray.calls.size(), 2u);
        EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 104);   // the gauge first
        EXPECT_EQ(fp.tray.calls[1].record.iconResourceId, 108);   // then the optimizer's warning
        EXPECT_EQ(shared.TrayPicture, 108);
        EXPECT_EQ(shared.TrayTip, std::string("1% Memory Free") + '\0');   // kept by the gauge
        EXPECT_TRUE(f.Timer1.enabled());
    }
}

TEST_F(Tick, AutoOptimizeMenuItemTogglesTheMarkFlagAndSetting) {
    load();
    f.tray_Click();
    ASSERT_FALSE(f.autooptimize.checked());
    f.autooptimize.click();
    EXPECT_TRUE(f.autooptimize.checked());
    EXPECT_EQ(shared.AutoOptimize, 1);
    EXPECT_EQ(fp.settings.get("AutomaticOptimize"), "1");
    f.autooptimize.click();
    EXPECT_FALSE(f.autooptimize.checked());
    EXPECT_EQ(shared.AutoOptimize, 0);
    EXPECT_EQ(fp.settings.get("AutomaticOptimize"), "0");

    // A value other than 1 shows the mark; one click clears it and switches off.
    shared.AutoOptimize = 7;
    f.openmain_Click();
    f.tray_Click();
    EXPECT_TRUE(f.autooptimize.checked());
    f.autooptimize.click();
    EXPECT_EQ(shared.AutoOptimize, 0);
    EXPECT_EQ(fp.settings.get("AutomaticOptimize"), "0");
}

}  // namespace
