// Start-up of the main program: what the main window's load makes of the stored settings,
// and which of the two start modes it picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "case_trace.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"
#include "resource_ids.h"

namespace {

// The fake memory has 128 MB in all, 50 MB free.

long countOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::count(log.begin(), log.end(), entry);
}

bool contains(const std::vector<std::string>& log, const std::string& entry) { return countOf(log, entry) > 0; }

struct Startup : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};

    // What the program's entry point does: load, then show unless the load went to the tray.
    void start() {
        f.load();
        if (!f.inTrayMode()) f.show();
    }
    bool windowShown() const { return contains(fp.forms.log, "show frmMain"); }
};

TEST_F(Startup, EmptyStoreGivesAnOrdinaryStartWithLiveReadouts) {
    start();

    EXPECT_EQ(f.icon(), IDI_CHIP);
    EXPECT_EQ(f.Slider1.min(), 0);
    EXPECT_EQ(f.Slider1.max(), 128);
    EXPECT_EQ(f.Slider1.value(), 0);
    EXPECT_FLOAT_EQ(f.ProgressBar1.max(), 128.0f);
    EXPECT_FALSE(f.autooptimize.checked());
    EXPECT_EQ(shared.AutoOptimize, 0);
    EXPECT_EQ(shared.AlarmLevelMB, 0);
    EXPECT_EQ(shared.FreeAtAlarmMB, 0);
    EXPECT_EQ(shared.TrayTipInMB, 0);

    // The first tick ran before the window was shown.
    EXPECT_EQ(f.labMem.caption(), "39% of 128 MB Free");
    EXPECT_EQ(f.caption(), "51200 KB Free");
    EXPECT_FLOAT_EQ(f.ProgressBar1.value(), 50.0f);
    EXPECT_EQ(fp.memory.samples, 2);   // the totals' sample and the tick's

    EXPECT_TRUE(windowShown());
    EXPECT_TRUE(f.visible());
    EXPECT_FALSE(f.inTrayMode());
    for (auto* item : {&f.openmain, &f.optimize, &f.filed0, &f.autooptimize}) {
        EXPECT_FALSE(item->visible()) << item->name();
    }
    EXPECT_TRUE(fp.tray.calls.empty());
    EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(Startup, AgentMarkGivesTrayModeWithoutWindowAndIsConsumed) {
    fp.settings.put("StartAgent", "1");
    start();

    EXPECT_TRUE(f.inTrayMode());
    EXPECT_FALSE(windowShown());
    EXPECT_FALSE(f.visible());
    EXPECT_EQ(fp.settings.get("StartAgent"), "0");
    EXPECT_EQ(countOf(fp.settings.writes, "StartAgent=0"), 1);
    ASSERT_FALSE(fp.tray.calls.empty());
    EXPECT_EQ(fp.tray.calls.front().command, tarvesk::TrayCommand::Add);
    // Entering the tray runs the one tick; the load does not run another.
    EXPECT_EQ(fp.memory.samples, 2);

    // The next start by hand finds the mark consumed and shows its window.
    fakes::FakePlatform next;
    next.settings.values = fp.settings.values;
    tarvesk::modMain nextShared;
    tarvesk::frmMain again{next.platform, nextShared};
    again.load();
    if (!again.inTrayMode()) again.show();
    EXPECT_TRUE(contains(next.forms.log, "show frmMain"));
    EXPECT_FALSE(again.inTrayMode());
}

TEST(StartupMode, AnyOtherMarkGivesAnOrdinaryStartAndLeavesTheMarkAlone) {
    // "1.5" rounds to 2, not 1: only a mark that reads as exactly 1 means the agent.
    for (const char* mark : {"2", "0", "1.5", "0.5", "abc", ""}) {
        CASE_TRACE(mark);
        fakes::FakePlatform fp;
        fp.settings.put("StartAgent", mark);
        tarvesk::modMain shared;
        tarvesk::frmMain f{fp.platform, shared};
        f.load();
        EXPECT_FALSE(f.inTrayMode());
        EXPECT_EQ(fp.settings.get("StartAgent"), mark);
        EXPECT_TRUE(fp.settings.writes.empty());
        EXPECT_TRUE(fp.tray.calls.empty());
    }
    fakes::FakePlatform fp;   // absent
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};
    f.load();
    EXPECT_FALSE(f.inTrayMode());
    EXPECT_FALSE(fp.settings.get("StartAgent").has_value());
}

TEST_F(Startup, HalfwayAutomaticFlagShowsTheMarkButDoesNotOptimize) {
    // Free memory (50 MB) is below the alarm level, so a flag of exactly 1 would optimize
    // on the first tick.
    fp.settings.put("AutomaticOptimize", "1.5");
    fp.settings.put("AlarmLevel", "100");
    fp.settings.put("FreeMBatAlarm", "8");
    start();

    EXPECT_EQ(shared.AutoOptimize, 2);
    EXPECT_TRUE(f.autooptimize.checked());
    EXPECT_TRUE(fp.blocks.requests.empty());
}

TEST_F(Startup, SettingsAreLoadedBeforeTheFirstTick) {
    fp.settings.put("AutomaticOptimize", "1");
    fp.settings.put("AlarmLevel", "100");
    fp.settings.put("FreeMBatAlarm", "8");
    start();

    EXPECT_EQ(shared.AutoOptimize, 1);
    EXPECT_TRUE(f.autooptimize.checked());
    EXPECT_EQ(shared.AlarmLevelMB, 100);
    EXPECT_EQ(shared.FreeAtAlarmMB, 8);
    // The first tick found 50 MB free, below the level, and freed 8 MB: 20 steps a megabyte.
    EXPECT_FALSE(fp.blocks.requests.empty());
    EXPECT_FLOAT_EQ(f.ProgressBar2.max(), 160.0f);
}

TEST_F(Startup, LevelsRoundHalvesToEven) {
    fp.settings.put("AlarmLevel", "10.5");
    fp.settings.put("FreeMBatAlarm", "11.5");
    start();
    EXPECT_EQ(shared.AlarmLevelMB, 10);
    EXPECT_EQ(shared.FreeAtAlarmMB, 12);
}

TEST(StartupTooltip, SysTrayTTTPicksTheTooltipForm) {
    struct Case {
        const char* stored;  // nullptr: absent
        std::uint8_t inMB;
        const char* tip;
    };
    for (const Case& c : {Case{nullptr, 0, "39% Memory Free"}, Case{"0", 0, "39% Memory Free"},
                          Case{"1", 1, "50 MB Free"}, Case{"7", 7, "50 MB Free"}}) {
        CASE_TRACE(c.stored ? c.stored : "absent");
        fakes::FakePlatform fp;
        if (c.stored) fp.settings.put("SysTrayTTT", c.stored);
        tarvesk::modMain shared;
        tarvesk::frmMain f{fp.platform, shared};
        f.load();
        EXPECT_EQ(shared.TrayTipInMB, c.inMB);
        f.tray_Click();
        ASSERT_FALSE(fp.tray.calls.empty());
        EXPECT_EQ(fakes::FakeTray::tip(fp.tray.calls.back().record), c.tip);
    }
}

TEST_F(Startup, StoredSliderPositionRunsTheSliderChangeHandling) {
    fp.settings.put("LastRAMValue", "64");
    start();
    EXPECT_EQ(f.Slider1.value(), 64);
    EXPECT_EQ(fp.settings.writes, (std::vector<std::string>{"LastRAMValue=64"}));
    EXPECT_EQ(f.Slider1.toolTip(), "64 MB to free when Optimize is clicked");
}

TEST(StartupRobustness, UnreadableOrOutOfRangeValuesNeverStopTheStart) {
    for (const char* junk : {"abc", "", "-5", "1e999", "-1e999", "99999999999", "&HFFFF", "nan", "5 MB"}) {
        CASE_TRACE(junk);
        fakes::FakePlatform fp;
        for (const char* key : {"AutomaticOptimize", "LastRAMValue", "AlarmLevel", "FreeMBatAlarm", "SysTrayTTT"}) {
            fp.settings.put(key, junk);
        }
        tarvesk::modMain shared;
        tarvesk::frmMain f{fp.platform, shared};
        f.load();
        if (!f.inTrayMode()) f.show();
        EXPECT_TRUE(f.visible());
        EXPECT_GE(f.Slider1.value(), f.Slider1.min());
        EXPECT_LE(f.Slider1.value(), f.Slider1.max());
    }
}

TEST_F(Startup, HelpFileIsTheProgramFolderAndTheFileName) {
    start();
    EXPECT_EQ(shared.HelpFile, "C:\\Program Files\\Tarvesk\\tarvesk.hlp");
}

TEST(StartupHelpFile, AtADrivesRootTheSeparatorIsDoubled) {
    fakes::FakePlatform fp;
    fp.program.dir = "C:\\";
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};
    f.load();
    EXPECT_EQ(shared.HelpFile, "C:\\\\tarvesk.hlp");
}

}  // namespace
