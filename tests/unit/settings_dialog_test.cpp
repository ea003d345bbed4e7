// The Configuration dialog against fakes: what it loads, how it checks and corrects the
// alarm level and the amount while the user types, and what Done and Cancel leave behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "settings/frmSettings.h"

namespace {

const std::string kMessageA =
    "Alarm Level cannot be greater than 1/4 th\r\nof total Physical Memory available.";
const std::string kMessageB =
    "RAM to Free at Alarm Level cannot be less than\r\n                      Alarm Level.";
const std::string kAgent = "\"C:\\Program Files\\Tarvesk\\TarveskA.exe\"";

struct SettingsDialog : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::SettingsCopies shared;
    std::unique_ptr<tarvesk::frmSettings> dlg;

    tarvesk::frmSettings& open(std::int64_t totalMB = 128) {
        dlg = std::make_unique<tarvesk::frmSettings>(fp.platform, shared, totalMB);
        dlg->show();
        return *dlg;
    }

    // The user selects the whole text and types `text`, one keystroke at a time.
    static void typeOver(forms::TextBox& box, const std::string& text) {
        for (size_t n = 1; n <= text.size(); ++n) box.userSetText(text.substr(0, n));
    }

    // The messages shown so far, as "A" and "B"; each must be a modal stop box titled Error.
    std::vector<std::string> messages() const {
        std::vector<std::string> seen;
        for (const auto& m : fp.messages.shown) {
            EXPECT_EQ(m.title, "Error");
            EXPECT_EQ(m.style, 16u);
            seen.push_back(m.text == kMessageA ? "A" : m.text == kMessageB ? "B" : m.text);
        }
        return seen;
    }
    void forgetMessages() { fp.messages.shown.clear(); }
};

using Msgs = std::vector<std::string>;

TEST_F(SettingsDialog, FreshStoreShowsZerosAutomaticOffAndPercentage) {
    auto& d = open();
    EXPECT_EQ(d.txtAlarm.text(), "0");
    EXPECT_EQ(d.txtFreeAlarm.text(), "0");
    EXPECT_EQ(d.chkAutomatic.value(), 0);
    EXPECT_FALSE(d.framOpt.enabled());
    EXPECT_TRUE(d.optPer.value());
    EXPECT_FALSE(d.optMB.value());
    EXPECT_EQ(d.chkAutoStart.value(), 0);
    EXPECT_TRUE(d.chkAutoStart.enabled());
    EXPECT_EQ(d.icon(), 101);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "query machine", "open user",
                                                     "query user"}));
    EXPECT_EQ(fp.run.openKeys, 2);   // held open until the dialog closes
}

TEST_F(SettingsDialog, LoadsStoredValuesAndRunRegistration) {
    fp.settings.put("AutomaticOptimize", "1");
    fp.settings.put("AlarmLevel", "12MB");
    fp.settings.put("FreeMBatAlarm", "20");
    fp.settings.put("SysTrayTTT", "1");
    fp.run.machine.value = "C:\\Other\\program.exe";   // any value of the name counts
    auto& d = open();
    EXPECT_EQ(d.chkAutomatic.value(), 1);
    EXPECT_TRUE(d.framOpt.enabled());
    EXPECT_EQ(d.txtAlarm.text(), "12");
    EXPECT_EQ(d.txtFreeAlarm.text(), "20");
    EXPECT_TRUE(d.optMB.value());
    EXPECT_FALSE(d.optPer.value());
    EXPECT_EQ(shared.TrayTipInMB, 1);
    EXPECT_EQ(d.chkAutoStart.value(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SettingsDialog, AnyNonZeroTooltipSettingSelectsMegabytes) {
    fp.settings.put("SysTrayTTT", "7");
    auto& d = open();
    EXPECT_EQ(shared.TrayTipInMB, 7);
    EXPECT_TRUE(d.optMB.value());
    EXPECT_FALSE(d.optPer.value());
    d.cmdDone.click();
    EXPECT_EQ(fp.settings.get("SysTrayTTT"), "1");
    EXPECT_EQ(shared.TrayTipInMB, 1);
}

TEST_F(SettingsDialog, LoadChecksTheAmountBeforeTheAlarmLevelIsSet) {
    // The amount is set while the alarm level is still empty (0), so -3 is corrected to 0;
    // then the level 64 breaks the limit of 32, becomes 1, and the amount follows it.
    fp.settings.put("FreeMBatAlarm", "-3");
    fp.settings.put("AlarmLevel", "64");
    auto& d = open(128);
    EXPECT_EQ(messages(), (Msgs{"B", "A", "B"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
    EXPECT_EQ(d.txtFreeAlarm.text(), "1");
}

TEST_F(SettingsDialog, StoredLevelTooHighIsCorrectedOnOpenButCancelKeepsTheStore) {
    fp.settings.put("AlarmLevel", "64");
    fp.settings.put("FreeMBatAlarm", "100");
    shared.AlarmLevelMB = 64;
    auto& d = open(128);
    EXPECT_EQ(messages(), (Msgs{"A"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
    d.cmdCancel.click();
    EXPECT_FALSE(d.loaded());
    EXPECT_EQ(fp.settings.get("AlarmLevel"), "64");
    EXPECT_TRUE(fp.settings.writes.empty());
    EXPECT_EQ(shared.AlarmLevelMB, 64);
    EXPECT_EQ(fp.run.openKeys, 0);
    EXPECT_EQ(fp.run.log.back(), "close user");
}

TEST_F(SettingsDialog, AlarmLevelLimitIsAQuarterOfTotalAsARealNumber) {
    auto& d = open(128);
    typeOver(d.txtFreeAlarm, "100");
    typeOver(d.txtAlarm, "32");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(d.txtAlarm.text(), "32");

    d.txtAlarm.userSetText("32.5");
    EXPECT_EQ(messages(), (Msgs{"A"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");

    forgetMessages();
    typeOver(d.txtAlarm, "33");   // "3" passes, "33" does not
    EXPECT_EQ(messages(), (Msgs{"A"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
    EXPECT_EQ(d.txtFreeAlarm.text(), "100");

    // 130 MB: the limit is 32.5, between whole numbers; it passes, and just above fails.
    auto& odd = open(130);
    forgetMessages();
    odd.txtFreeAlarm.userSetText("100");
    odd.txtAlarm.userSetText("32.5");
    EXPECT_TRUE(messages().empty());
    odd.txtAlarm.userSetText("32.51");
    EXPECT_EQ(messages(), (Msgs{"A"}));
    EXPECT_EQ(odd.txtAlarm.text(), "1");
}

TEST_F(SettingsDialog, CorrectedLevelOfOneThenCorrectsAnEmptyOrZeroAmount) {
    auto& d = open(128);
    d.txtFreeAlarm.userSetText("");
    d.txtAlarm.userSetText("33");
    EXPECT_EQ(messages(), (Msgs{"A", "B"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
    EXPECT_EQ(d.txtFreeAlarm.text(), "1");

    forgetMessages();
    d.txtAlarm.userSetText("0");
    d.txtFreeAlarm.userSetText("0");
    d.txtAlarm.userSetText("40");
    EXPECT_EQ(messages(), (Msgs{"A", "B"}));
    EXPECT_EQ(d.txtFreeAlarm.text(), "1");
}

TEST_F(SettingsDialog, AmountBelowTheLevelIsPutBackToTheLevel) {
    fp.settings.put("AlarmLevel", "10");
    fp.settings.put("FreeMBatAlarm", "10");
    auto& d = open(128);
    typeOver(d.txtFreeAlarm, "5");
    EXPECT_EQ(messages(), (Msgs{"B"}));
    EXPECT_EQ(d.txtFreeAlarm.text(), "10");

    forgetMessages();
    d.txtFreeAlarm.userSetText("");   // emptying it
    EXPECT_EQ(messages(), (Msgs{"B"}));
    EXPECT_EQ(d.txtFreeAlarm.text(), "10");

    forgetMessages();
    d.txtFreeAlarm.userSetText("20");
    typeOver(d.txtAlarm, "25");   // raising the level above the amount
    EXPECT_EQ(messages(), (Msgs{"B"}));
    EXPECT_EQ(d.txtFreeAlarm.text(), "25");
}

TEST_F(SettingsDialog, TextAfterTheNumberReadsAsTheNumberAndIsSavedClean) {
    auto& d = open(128);
    d.txtAlarm.userSetText("12abc");
    EXPECT_EQ(messages(), (Msgs{"B"}));
    EXPECT_EQ(d.txtAlarm.text(), "12abc");
    EXPECT_EQ(d.txtFreeAlarm.text(), "12");
    d.cmdDone.click();
    EXPECT_EQ(fp.settings.get("AlarmLevel"), "12");
    EXPECT_EQ(fp.settings.get("FreeMBatAlarm"), "12");
    EXPECT_EQ(shared.AlarmLevelMB, 12);
    EXPECT_EQ(shared.FreeAtAlarmMB, 12);

    auto& again = open(40);   // a quarter is 10: 12abc fails as 12 would
    forgetMessages();
    again.txtAlarm.userSetText("12abc");
    EXPECT_EQ(messages(), (Msgs{"A"}));
    EXPECT_EQ(again.txtAlarm.text(), "1");
}

TEST_F(SettingsDialog, NegativeLevelPassesAndTheAmountMustStillReachIt) {
    auto& d = open(128);
    d.txtAlarm.userSetText("-5");
    EXPECT_TRUE(messages().empty());
    d.txtFreeAlarm.userSetText("-10");
    EXPECT_EQ(messages(), (Msgs{"B"}));
    EXPECT_EQ(d.txtFreeAlarm.text(), "-5");
}

TEST_F(SettingsDialog, NumbersBeyondADoubleNeverBreakTheChecks) {
    auto& d = open(128);
    d.txtAlarm.userSetText("1e999");   // larger than any limit
    EXPECT_EQ(messages(), (Msgs{"A", "B"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
    forgetMessages();
    d.txtFreeAlarm.userSetText("1e999");   // a very large amount is fine
    d.txtAlarm.userSetText("-1e999");
    EXPECT_TRUE(messages().empty());
    d.cmdDone.click();
    EXPECT_EQ(shared.AlarmLevelMB, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(shared.FreeAtAlarmMB, std::numeric_limits<std::int32_t>::max());
}

TEST_F(SettingsDialog, TinyMemoryStillEndsTheCorrection) {
    // A quarter of 2 MB is below the corrected level 1: the correction is checked once
    // more and then stops, since writing the same text raises nothing.
    fp.settings.put("AlarmLevel", "5");
    auto& d = open(2);
    EXPECT_EQ(messages(), (Msgs{"A", "A"}));
    EXPECT_EQ(d.txtAlarm.text(), "1");
}

TEST_F(SettingsDialog, AutomaticCheckBoxEnablesTheFrameAndKeepsItsValues) {
    fp.settings.put("AlarmLevel", "8");
    fp.settings.put("FreeMBatAlarm", "16");
    auto& d = open();
    d.chkAutomatic.userSetValue(1);
    EXPECT_TRUE(d.framOpt.enabled());
    d.chkAutomatic.userSetValue(0);
    EXPECT_FALSE(d.framOpt.enabled());
    EXPECT_EQ(d.txtAlarm.text(), "8");
    EXPECT_EQ(d.txtFreeAlarm.text(), "16");
}

TEST_F(SettingsDialog, DoneSavesEverythingInOrderAndReplacesTheCopies) {
    fp.settings.put("SysTrayTTT", "0");
    auto& d = open(512);
    d.chkAutomatic.userSetValue(1);
    typeOver(d.txtFreeAlarm, "32");
    typeOver(d.txtAlarm, "16");
    d.optMB.userSelect();
    d.chkAutoStart.userSetValue(1);
    d.cmdDone.click();

    EXPECT_EQ(fp.settings.writes, (std::vector<std::string>{"SysTrayTTT=1", "AutomaticOptimize=1",
                                                           "AlarmLevel=16", "FreeMBatAlarm=32"}));
    EXPECT_EQ(shared.TrayTipInMB, 1);
    EXPECT_EQ(shared.AutoOptimize, 1);
    EXPECT_EQ(shared.AlarmLevelMB, 16);
    EXPECT_EQ(shared.FreeAtAlarmMB, 32);
    EXPECT_EQ(fp.run.machine.value, kAgent);
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "query machine", "open user",
                                                     "query user", "set machine " + kAgent,
                                                     "delete user", "close machine", "close user"}));
    EXPECT_EQ(fp.run.openKeys, 0);
    EXPECT_FALSE(d.loaded());

    // The next opening reads what Done saved.
    auto& next = open(512);
    EXPECT_EQ(next.txtAlarm.text(), "16");
    EXPECT_EQ(next.txtFreeAlarm.text(), "32");
    EXPECT_EQ(next.chkAutomatic.value(), 1);
    EXPECT_TRUE(next.optMB.value());
    EXPECT_EQ(next.chkAutoStart.value(), 1);
}

TEST_F(SettingsDialog, DoneWritesTheRunValueEvenWhenItExistsAndDeletesItAlways) {
    fp.run.machine.value = "C:\\Other\\program.exe";
    auto& d = open();
    d.cmdDone.click();   // still checked: written again with the agent's path
    EXPECT_EQ(fp.run.machine.value, kAgent);

    auto& cleared = open();
    cleared.chkAutoStart.userSetValue(0);
    cleared.cmdDone.click();
    EXPECT_FALSE(fp.run.machine.value.has_value());

    fp.run.log.clear();
    open().cmdDone.click();   // nothing registered, box cleared: delete anyway
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "query machine", "open user",
                                                     "query user", "delete machine", "delete user",
                                                     "close machine", "close user"}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(SettingsDialog, AgentPathInADriveRootHasOneSeparator) {
    fp.program.dir = "C:\\";
    auto& d = open();
    d.chkAutoStart.userSetValue(1);
    d.cmdDone.click();
    EXPECT_EQ(fp.run.machine.value, "\"C:\\TarveskA.exe\"");
}

TEST_F(SettingsDialog, DoneStoresAnAmountBeyond32BitsAndClampsItsCopy) {
    auto& d = open();
    d.txtFreeAlarm.userSetText("5000000000");
    d.cmdDone.click();
    EXPECT_EQ(fp.settings.get("FreeMBatAlarm"), "5000000000");
    EXPECT_EQ(shared.FreeAtAlarmMB, std::numeric_limits<std::int32_t>::max());
}

TEST_F(SettingsDialog, DoneRoundsFractionsHalfToEvenAndWritesTheUsersSeparator) {
    fp.program.separator = ',';
    auto& d = open();
    d.txtFreeAlarm.userSetText("11.5");
    d.txtAlarm.userSetText("10.5");
    d.cmdDone.click();
    EXPECT_EQ(fp.settings.get("AlarmLevel"), "10,5");
    EXPECT_EQ(fp.settings.get("FreeMBatAlarm"), "11,5");
    EXPECT_EQ(shared.AlarmLevelMB, 10);
    EXPECT_EQ(shared.FreeAtAlarmMB, 12);
}

TEST_F(SettingsDialog, CancelSavesNothingAndKeepsTheLoadedTrayTip) {
    fp.settings.put("SysTrayTTT", "1");
    shared.AutoOptimize = 1;
    shared.AlarmLevelMB = 7;
    auto& d = open();
    EXPECT_EQ(shared.TrayTipInMB, 1);   // the load itself sets this copy
    d.chkAutomatic.userSetValue(1);
    d.txtAlarm.userSetText("3");
    d.optPer.userSelect();
    d.chkAutoStart.userSetValue(1);
    d.cmdCancel.click();
    EXPECT_TRUE(fp.settings.writes.empty());
    EXPECT_EQ(shared.TrayTipInMB, 1);
    EXPECT_EQ(shared.AlarmLevelMB, 7);
    EXPECT_FALSE(fp.run.machine.value.has_value());
    EXPECT_FALSE(fp.run.user.value.has_value());
    EXPECT_EQ(fp.run.openKeys, 0);
    EXPECT_FALSE(d.loaded());
}

TEST_F(SettingsDialog, CloseBoxClosesTheRunKeyAndSavesNothing) {
    auto& d = open();
    d.txtAlarm.userSetText("3");
    d.unload();   // what the title-bar close box does
    EXPECT_EQ(fp.run.openKeys, 0);
    EXPECT_EQ(fp.run.log.back(), "close user");
    EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(SettingsDialog, RunKeysWithoutWriteAccessDisableAutomaticStartOnly) {
    fp.run.machine.canWrite = false;
    fp.run.user.canWrite = false;
    fp.run.machine.value = "C:\\Program Files\\Tarvesk\\TarveskA.exe";
    auto& d = open();
    EXPECT_EQ(d.chkAutoStart.value(), 1);   // the state is still shown
    EXPECT_FALSE(d.chkAutoStart.enabled());
    EXPECT_EQ(d.chkAutoStart.toolTip(), "Automatic start needs administrator rights");
    EXPECT_TRUE(d.chkAutomatic.enabled());
    d.chkAutomatic.userSetValue(1);
    d.txtAlarm.userSetText("4");
    d.cmdDone.click();
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "query machine", "open user",
                                                     "query user", "close machine", "close user"}));
    EXPECT_EQ(fp.settings.get("AutomaticOptimize"), "1");
    EXPECT_EQ(shared.AlarmLevelMB, 4);
    EXPECT_EQ(fp.run.openKeys, 0);
}

TEST_F(SettingsDialog, RunKeysThatCannotBeOpenedLeaveAutomaticStartClearedAndOff) {
    fp.run.machine.canOpen = false;
    fp.run.user.canOpen = false;
    auto& d = open();
    EXPECT_EQ(d.chkAutoStart.value(), 0);
    EXPECT_FALSE(d.chkAutoStart.enabled());
    d.cmdDone.click();
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "open user"}));
    EXPECT_EQ(fp.settings.writes.size(), 4u);
}

TEST_F(SettingsDialog, EnterIsDoneAndEscIsCancel) {
    auto& d = open();
    EXPECT_TRUE(d.cmdDone.isDefault);
    EXPECT_FALSE(d.cmdDone.isCancel);
    EXPECT_TRUE(d.cmdCancel.isCancel);
    EXPECT_FALSE(d.cmdCancel.isDefault);
}

}  // namespace
