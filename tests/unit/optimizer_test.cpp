// The optimizer: progress run, the block and its half-size retry, the timer around it,
// and the warning icon in tray mode.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "main_window_recorder.h"

namespace {

using testing_support::MainWindow;
using testing_support::TipField;
using Strings = std::vector<std::string>;
constexpr std::uint64_t MB = MainWindow::MB;

struct Optimizer : ::testing::Test, MainWindow {
    std::vector<float> steps(int last) {
        std::vector<float> values;
        for (int i = 1; i <= last; ++i) values.push_back(static_cast<float>(i));
        values.push_back(0);
        return values;
    }
};

TEST_F(Optimizer, SliderAt64RunsTheProgressThenWritesAndReleasesTheBlockWithTheTimerOn) {
    load();
    f.Slider1.setValue(64);
    f.cmdOptimize.click();

    EXPECT_EQ(host.progressMax, 1280);
    EXPECT_EQ(host.progress, steps(1280));
    // 67,108,864 characters of two bytes each; released only after the timer runs again.
    EXPECT_EQ(fp.blocks.log, (Strings{"Timer1 off", "obtain 134217728", "Timer1 on", "release 134217728"}));
    EXPECT_TRUE(f.Timer1.enabled());
    EXPECT_EQ(fp.blocks.live, 0);
    EXPECT_TRUE(fp.tray.calls.empty());   // outside tray mode the icon is not touched
}

TEST_F(Optimizer, NothingToFreeOnlySwitchesTheTimer) {
    load();
    for (std::int64_t bytes : {std::int64_t{0}, std::int64_t{-1048576}, std::numeric_limits<std::int64_t>::min()}) {
        forget();
        f.OptimizeRam(bytes);
        EXPECT_TRUE(host.progress.empty());
        EXPECT_TRUE(fp.blocks.requests.empty());
        EXPECT_EQ(fp.blocks.log, (Strings{"Timer1 off", "Timer1 on"}));
    }
    // The slider at 0 is the everyday case.
    forget();
    f.cmdOptimize.click();
    EXPECT_TRUE(fp.blocks.requests.empty());
    EXPECT_EQ(fp.blocks.log, (Strings{"Timer1 off", "Timer1 on"}));

    // One byte is something: no progress step (it rounds to 0 megabytes), but a block.
    forget();
    f.OptimizeRam(1);
    EXPECT_TRUE(host.progress.empty());
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{2}));
}

TEST_F(Optimizer, HalfSizeRetryWhenTheFullBlockCannotBeHad) {
    load();
    f.Slider1.setValue(64);
    fp.blocks.failSizes = {128 * MB};
    f.cmdOptimize.click();
    EXPECT_EQ(fp.blocks.log,
              (Strings{"Timer1 off", "fail 134217728", "obtain 67108864", "Timer1 on", "release 67108864"}));
    EXPECT_TRUE(fp.messages.shown.empty());

    // The tick's automatic optimization meets the same refusal the same way.
    forget();
    shared.AutoOptimize = 1;
    shared.AlarmLevelMB = 30;
    shared.FreeAtAlarmMB = 32;
    fp.blocks.failSizes = {64 * MB};
    tick(20 * MB);
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{64 * MB, 32 * MB}));
    EXPECT_EQ(fp.blocks.live, 0);
    EXPECT_TRUE(f.Timer1.enabled());
}

TEST_F(Optimizer, HalfOfAnOddCountGoesToTheEvenNeighbour) {
    load();
    fp.blocks.failAll = true;
    f.OptimizeRam(3);   // 1.5 characters -> 2
    f.OptimizeRam(5);   // 2.5 characters -> 2
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{6, 4, 10, 4}));
    EXPECT_TRUE(f.Timer1.enabled());
}

TEST_F(Optimizer, TimerRunsAgainEvenWhenTheAllocatorThrows) {
    struct ThrowingBlocks : tarvesk::BlockAllocator {
        std::unique_ptr<tarvesk::MemoryBlock> obtainWritten(std::uint64_t) override {
            throw std::runtime_error("out of luck");
        }
    } throwing;
    tarvesk::Platform p{fp.memory, throwing, fp.tray, fp.settings, fp.run, fp.session, fp.help, fp.messages,
                        fp.program, host};
    tarvesk::modMain own;
    tarvesk::frmMain g{p, own};
    fp.memory.figures = {128 * MB, 50 * MB};
    g.load();
    g.Slider1.setValue(8);
    EXPECT_THROW(g.cmdOptimize_Click(), std::runtime_error);
    EXPECT_TRUE(g.Timer1.enabled());
}

TEST_F(Optimizer, AmountsUpTo2047MBAreTriedInFullEvenBeyondTheMachine) {
    load(512 * MB);
    fp.blocks.failSizes = {2000 * MB};
    f.OptimizeRam(1000 * MB);   // a 2000 MB block, then half
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{2000 * MB, 1000 * MB}));
    EXPECT_EQ(host.progressMax, 20000);
    EXPECT_EQ(host.progress.size(), 20001u);

    forget();
    f.OptimizeRam(2047 * MB);
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{4094 * MB}));
    EXPECT_EQ(host.progressMax, 40940);
}

TEST_F(Optimizer, AmountsOf2048MBAndMoreFreeAtMostTheMachine) {
    load(512 * MB);
    f.OptimizeRam(2048 * MB);
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{1024 * MB}));
    EXPECT_EQ(host.progressMax, 10240);

    forget();
    f.OptimizeRam(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{1024 * MB}));

    // On a machine that has them, they are exact byte counts.
    MainWindow big;
    big.load(4096 * MB);
    big.f.Slider1.setValue(3000);
    big.f.cmdOptimize.click();
    EXPECT_EQ(big.host.progressMax, 60000);
    EXPECT_EQ(big.host.progress.size(), 60001u);
    EXPECT_EQ(big.fp.blocks.requests, (std::vector<std::uint64_t>{6000 * MB}));
}

TEST_F(Optimizer, InTrayModeTheIconTurnsToTheWarningWithoutTouchingTheTooltip) {
    load();
    f.tray_Click();
    const std::string tip = shared.TrayTip;
    const auto last = fp.tray.calls.back().record;
    forget();

    f.Slider1.setValue(1);
    f.optimize.click();   // the tray menu's item does what the button does
    ASSERT_EQ(fp.tray.calls.size(), 1u);
    const auto& call = fp.tray.calls[0];
    EXPECT_EQ(call.command, tarvesk::TrayCommand::Modify);
    EXPECT_EQ(call.record.iconResourceId, 108);
    EXPECT_EQ(call.record.szTip, TipField("Optimizing..."));
    EXPECT_EQ(call.record.uID, 1u);
    EXPECT_EQ(call.record.uFlags, 7u);
    EXPECT_EQ(call.record.uCallbackMessage, 0x200u);
    EXPECT_EQ(call.record.hWnd, last.hWnd);
    EXPECT_EQ(shared.TrayPicture, 108);
    EXPECT_EQ(shared.TrayTip, tip);
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{2 * MB}));

    // The next tick shows the gauge again; nothing to free still shows the warning until
    // the tick after.
    tick(50 * MB);
    fp.tray.calls.clear();
    f.OptimizeRam(0);
    ASSERT_EQ(fp.tray.calls.size(), 1u);
    EXPECT_EQ(fp.tray.calls[0].record.iconResourceId, 108);
}

TEST_F(Optimizer, SliderRemembersItsValueAndSaysWhatItWillFree) {
    load();
    f.Slider1.setValue(100);
    EXPECT_EQ(fp.settings.get("LastRAMValue"), "100");
    EXPECT_EQ(f.Slider1.toolTip(), "100 MB to free when Optimize is clicked");
    f.Slider1.userSetValue(64);
    EXPECT_EQ(fp.settings.get("LastRAMValue"), "64");
    EXPECT_EQ(f.Slider1.toolTip(), "64 MB to free when Optimize is clicked");
}

}  // namespace
