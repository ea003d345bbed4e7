// Every platform service failing in turn, as the program meets it in use: the program goes
// on, nothing already stored is lost, and the one-second timer keeps running.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"
#include "settings/frmSettings.h"

namespace {

constexpr std::uint64_t MB = 1048576;
using Stored = std::map<std::tuple<std::string, std::string, std::string>, std::string>;

struct Faults : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};

    // A machine of 128 MB with 20 MB free, and a user who set automatic optimization of
    // 32 MB below 30 MB free, the percentage tooltip and the slider at 8.
    void SetUp() override {
        fp.memory.figures = {128 * MB, 20 * MB};
        fp.settings.put("AutomaticOptimize", "1");
        fp.settings.put("AlarmLevel", "30");
        fp.settings.put("FreeMBatAlarm", "32");
        fp.settings.put("SysTrayTTT", "0");
        fp.settings.put("LastRAMValue", "8");
    }

    // What the entry point does.
    void start() {
        f.load();
        if (!f.inTrayMode()) f.show();
    }

    // The timer is on, and its next tick samples memory afresh and shows it.
    void expectTicking() {
        ASSERT_TRUE(f.Timer1.enabled());
        fp.memory.figures.availPhys = 77 * MB;
        const int samples = fp.memory.samples;
        f.Timer1.tick();
        EXPECT_EQ(fp.memory.samples, samples + 1);
        EXPECT_EQ(f.caption(), "78848 KB Free");
        EXPECT_EQ(f.labMem.caption(), "60% of 128 MB Free");
        EXPECT_TRUE(f.Timer1.enabled());
        EXPECT_FALSE(fp.forms.ended);
    }

    // Every value that was stored before still reads the same.
    void expectKept(const Stored& before) {
        for (const auto& [key, text] : before) {
            auto now = fp.settings.values.find(key);
            ASSERT_NE(now, fp.settings.values.end()) << std::get<2>(key) << " was lost";
            EXPECT_EQ(now->second, text) << std::get<2>(key);
        }
    }
};

// The half-size retry itself is the optimizer's (optimizer_test); here neither size comes.
TEST_F(Faults, BlockNotAtEitherSizeEndsQuietlyEveryTick) {
    fp.blocks.failAll = true;
    start();
    const Stored before = fp.settings.values;
    EXPECT_EQ(fp.blocks.requests, (std::vector<std::uint64_t>{64 * MB, 32 * MB}));

    // Free memory stays low, so every tick tries again and fails again, in tray mode too.
    fp.memory.figures.availPhys = 10 * MB;
    f.cmdTray.click();
    for (int i = 0; i < 3; ++i) f.Timer1.tick();
    EXPECT_EQ(fp.blocks.requests.size(), 2u + 2u * 4u);   // the tray entry's tick and three more
    EXPECT_TRUE(f.inTrayMode());
    EXPECT_TRUE(fp.messages.shown.empty());
    EXPECT_EQ(fp.blocks.live, 0);

    expectTicking();
    expectKept(before);
}

TEST_F(Faults, SettingsStoreRefusingWritesLosesNothingStored) {
    fp.settings.put("StartAgent", "1");   // started by the agent: the mark is to be consumed
    fp.settings.refuseWrites = true;
    const Stored before = fp.settings.values;
    start();

    // The mark could not be consumed, but the start went to the tray all the same.
    EXPECT_TRUE(f.inTrayMode());
    EXPECT_EQ(fp.settings.get("StartAgent"), "1");

    // Each writer meets the refusal: the tray menu's toggle, the slider, the dialog's Done.
    f.autooptimize.click();
    EXPECT_EQ(shared.AutoOptimize, 0);   // the running program follows the user
    EXPECT_FALSE(f.autooptimize.checked());
    f.Slider1.userSetValue(50);
    EXPECT_EQ(f.Slider1.value(), 50);
    EXPECT_EQ(f.Slider1.toolTip(), "50 MB to free when Optimize is clicked");
    f.config_Click();
    tarvesk::frmSettings& dialog = *f.settingsDialog();
    dialog.txtAlarm.userSetText("12");
    dialog.txtFreeAlarm.userSetText("24");
    dialog.cmdDone.click();
    EXPECT_EQ(shared.AlarmLevelMB, 12);
    EXPECT_EQ(shared.FreeAtAlarmMB, 24);

    EXPECT_FALSE(fp.settings.writes.empty());
    EXPECT_EQ(fp.settings.values, before);
    f.openmain_Click();
    expectTicking();
}

TEST_F(Faults, RunKeysThatCannotBeOpenedLeaveTheRestOfTheDialogWorking) {
    fp.run.machine.value = "C:\\Elsewhere\\TarveskA.exe";   // registered by an earlier installation
    fp.run.machine.canOpen = false;
    fp.run.user.canOpen = false;
    start();
    const Stored before = fp.settings.values;

    f.config_Click();
    tarvesk::frmSettings& dialog = *f.settingsDialog();
    EXPECT_EQ(dialog.chkAutoStart.value(), 0);
    dialog.chkAutoStart.userSetValue(1);
    dialog.txtAlarm.userSetText("8");
    dialog.cmdDone.click();

    EXPECT_EQ(fp.run.machine.value, "C:\\Elsewhere\\TarveskA.exe");
    EXPECT_FALSE(fp.run.user.value.has_value());
    EXPECT_EQ(fp.run.openKeys, 0);
    EXPECT_EQ(fp.settings.get("AlarmLevel"), "8");
    EXPECT_EQ(shared.AlarmLevelMB, 8);
    Stored unchanged = before;
    unchanged.erase({"Tarvesk", "Settings", "AlarmLevel"});
    expectKept(unchanged);
    expectTicking();
}

TEST_F(Faults, ShellRefusingTheTrayIconLeavesTrayModeUsable) {
    fp.tray.refuse = true;
    start();
    const Stored before = fp.settings.values;

    f.cmdTray.click();
    EXPECT_TRUE(f.inTrayMode());
    EXPECT_FALSE(f.visible());
    expectTicking();   // ticks go on sending (refused) refreshes

    // A double-click can't come from an icon the shell never showed, but the window can
    // still be brought back, and sent to the tray again.
    f.openmain_Click();
    EXPECT_TRUE(f.visible());
    EXPECT_FALSE(f.inTrayMode());
    f.cmdTray.click();
    EXPECT_TRUE(f.inTrayMode());
    expectTicking();
    expectKept(before);

    f.exit.click();   // the delete is refused too; the program ends regardless
    EXPECT_TRUE(fp.forms.ended);
}

TEST_F(Faults, MissingHelpEngineLeavesTheProgramRunning) {
    // No viewer can be started, and the page it falls back on opens nothing either.
    fp.help.winHelpFails = true;
    start();
    const Stored before = fp.settings.values;
    f.contents.click();
    EXPECT_EQ(fp.help.calls.size(), 2u);
    EXPECT_TRUE(f.visible());
    expectTicking();
    expectKept(before);
}

}  // namespace
