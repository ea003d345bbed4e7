#include "settings/ProgramSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakePlatform.h"

using namespace tarvesk;

namespace {

class ProgramSettingsTest : public ::testing::Test {
protected:
    fakes::FakeSettings store;
    ProgramSettings settings{store};
};

constexpr std::int32_t kIntMax = 2147483647;
constexpr std::int32_t kIntMin = -2147483647 - 1;

}  // namespace

TEST_F(ProgramSettingsTest, EmptyStoreGivesTheDefaults) {
    EXPECT_EQ(settings.autoOptimizeAtStartup(), 0);
    EXPECT_EQ(settings.alarmLevelAtStartup(), 0);
    EXPECT_EQ(settings.freeAtAlarmAtStartup(), 0);
    EXPECT_EQ(settings.trayTipInMBAtStartup(), 0);
    EXPECT_EQ(settings.startAgent(), 0);
    EXPECT_EQ(settings.lastRAMValue(0, 100), 0);
    EXPECT_EQ(settings.autoOptimizeForDialog(), 0);
    EXPECT_EQ(settings.alarmLevelForDialog('.'), "0");
    EXPECT_EQ(settings.freeAtAlarmForDialog(','), "0");
    EXPECT_EQ(settings.trayTipInMBForDialog(), 0);
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(ProgramSettingsTest, WritesGoToTheProgramsSectionUnderTheirOwnNames) {
    settings.saveAutoOptimize(true);
    settings.saveLastRAMValue(64);
    settings.saveAlarmLevel("16", '.');
    settings.saveFreeAtAlarm("32", '.');
    settings.saveTrayTipInMB(true);
    settings.markStartAgent();
    using Key = std::tuple<std::string, std::string, std::string>;
    EXPECT_EQ(store.values, (std::map<Key, std::string>{
                                {{"Tarvesk", "Settings", "AutomaticOptimize"}, "1"},
                                {{"Tarvesk", "Settings", "LastRAMValue"}, "64"},
                                {{"Tarvesk", "Settings", "AlarmLevel"}, "16"},
                                {{"Tarvesk", "Settings", "FreeMBatAlarm"}, "32"},
                                {{"Tarvesk", "Settings", "SysTrayTTT"}, "1"},
                                {{"Tarvesk", "Settings", "StartAgent"}, "1"},
                            }));
    settings.saveAutoOptimize(false);
    settings.saveTrayTipInMB(false);
    settings.consumeStartAgent();
    EXPECT_EQ(store.get("AutomaticOptimize"), "0");
    EXPECT_EQ(store.get("SysTrayTTT"), "0");
    EXPECT_EQ(store.get("StartAgent"), "0");
}

TEST_F(ProgramSettingsTest, AlarmValuesRoundHalvesToEvenAtStartup) {
    store.put("AlarmLevel", "10.5");
    store.put("FreeMBatAlarm", "11.5");
    EXPECT_EQ(settings.alarmLevelAtStartup(), 10);
    EXPECT_EQ(settings.freeAtAlarmAtStartup(), 12);
    // The dialog shows the fraction, with the user's separator.
    EXPECT_EQ(settings.alarmLevelForDialog(','), "10,5");
    EXPECT_EQ(settings.freeAtAlarmForDialog('.'), "11.5");
}

TEST_F(ProgramSettingsTest, CommaSeparatorStoresTheFractionAndReadsBackItsWholePart) {
    EXPECT_TRUE(settings.saveAlarmLevel("10.5", ','));
    EXPECT_EQ(store.get("AlarmLevel"), "10,5");
    EXPECT_EQ(settings.alarmLevelAtStartup(), 10);
    EXPECT_EQ(settings.alarmLevelForDialog(','), "10");
}

TEST_F(ProgramSettingsTest, TextAfterANumberIsDroppedAndTheCleanNumberSaved) {
    store.put("AlarmLevel", "12MB");
    EXPECT_EQ(settings.alarmLevelAtStartup(), 12);
    EXPECT_EQ(settings.alarmLevelForDialog('.'), "12");
    settings.saveAlarmLevel(settings.alarmLevelForDialog('.'), '.');
    EXPECT_EQ(store.get("AlarmLevel"), "12");
    settings.saveFreeAtAlarm("abc", '.');
    EXPECT_EQ(store.get("FreeMBatAlarm"), "0");
}

TEST_F(ProgramSettingsTest, AnyNonZeroTrayTipMeansMegabytes) {
    for (const char* text : {"1", "7", "255"}) {
        store.put("SysTrayTTT", text);
        EXPECT_NE(settings.trayTipInMBAtStartup(), 0) << text;
        EXPECT_NE(settings.trayTipInMBForDialog(), 0) << text;
    }
    store.put("SysTrayTTT", "0");
    EXPECT_EQ(settings.trayTipInMBAtStartup(), 0);
    EXPECT_EQ(settings.trayTipInMBForDialog(), 0);
}

TEST_F(ProgramSettingsTest, StartAgentMarkIsSetThenConsumed) {
    EXPECT_TRUE(settings.markStartAgent());
    EXPECT_EQ(settings.startAgent(), 1);
    EXPECT_TRUE(settings.consumeStartAgent());
    EXPECT_EQ(settings.startAgent(), 0);
}

TEST_F(ProgramSettingsTest, SliderPositionIsReadStrictlyAndKeptInTheSlidersRange) {
    store.put("LastRAMValue", " 48 ");
    EXPECT_EQ(settings.lastRAMValue(0, 100), 48);
    store.put("LastRAMValue", "48MB");   // not a whole number: the default
    EXPECT_EQ(settings.lastRAMValue(0, 100), 0);
    store.put("LastRAMValue", "500");
    EXPECT_EQ(settings.lastRAMValue(0, 100), 100);
    store.put("LastRAMValue", "-5");
    EXPECT_EQ(settings.lastRAMValue(0, 100), 0);
    store.put("LastRAMValue", "abc");
    EXPECT_EQ(settings.lastRAMValue(10, 100), 10);
    store.put("LastRAMValue", "1e999");
    EXPECT_EQ(settings.lastRAMValue(0, 100), 100);
    settings.saveLastRAMValue(-2147483647 - 1);
    EXPECT_EQ(store.get("LastRAMValue"), "-2147483648");
}

TEST_F(ProgramSettingsTest, DialogChecksAutomaticOptimizeOnlyWhenStartupWouldSwitchItOn) {
    const struct {
        const char* text;
        std::uint8_t atStartup;
        int inDialog;
    } cases[] = {
        {"1", 1, 1}, {"0", 0, 0}, {" 1 ", 1, 1}, {"1.4", 1, 1}, {"0.5", 0, 0},
        {"2", 2, 0}, {"1abc", 1, 0}, {"abc", 0, 0}, {"-1", 0, 0}, {"1e999", 255, 0},
    };
    for (const auto& c : cases) {
        store.put("AutomaticOptimize", c.text);
        EXPECT_EQ(settings.autoOptimizeAtStartup(), c.atStartup) << c.text;
        EXPECT_EQ(settings.autoOptimizeForDialog(), c.inDialog) << c.text;
    }
}

TEST_F(ProgramSettingsTest, HandEditedValuesNeverFailAndReadAsTheNearestSoundValue) {
    const std::string huge(5000, '9');
    store.put("AlarmLevel", "99999999999");
    store.put("FreeMBatAlarm", "-1e999");
    EXPECT_EQ(settings.alarmLevelAtStartup(), kIntMax);
    EXPECT_EQ(settings.freeAtAlarmAtStartup(), kIntMin);
    EXPECT_EQ(settings.alarmLevelForDialog('.'), "99999999999");
    EXPECT_EQ(settings.freeAtAlarmForDialog('.'), "-1.79769313486231E+308");

    store.put("AlarmLevel", huge);
    EXPECT_EQ(settings.alarmLevelAtStartup(), kIntMax);
    EXPECT_EQ(settings.alarmLevelForDialog('.'), "1.79769313486231E+308");

    store.put("SysTrayTTT", "-5");
    EXPECT_EQ(settings.trayTipInMBAtStartup(), 0);
    EXPECT_EQ(settings.trayTipInMBForDialog(), 0);
    store.put("SysTrayTTT", "300");
    EXPECT_EQ(settings.trayTipInMBAtStartup(), 255);
    EXPECT_EQ(settings.trayTipInMBForDialog(), 255);
    store.put("SysTrayTTT", "abc");
    EXPECT_EQ(settings.trayTipInMBForDialog(), 0);
    store.put("SysTrayTTT", huge);
    EXPECT_EQ(settings.trayTipInMBForDialog(), 255);

    for (const std::string& text : {std::string("1e999"), std::string("257"), huge,
                                    std::string("&H101")}) {
        store.put("StartAgent", text);
        EXPECT_NE(settings.startAgent(), 1) << text;
    }
    store.put("StartAgent", "&H1");
    EXPECT_EQ(settings.startAgent(), 1);
}

TEST_F(ProgramSettingsTest, AmountBeyondThirtyTwoBitsIsStoredAsTypedAndReadAsTheLimit) {
    settings.saveFreeAtAlarm("1e20", '.');
    EXPECT_EQ(store.get("FreeMBatAlarm"), "1E+20");
    EXPECT_EQ(settings.freeAtAlarmAtStartup(), kIntMax);
    settings.saveFreeAtAlarm("1e999", '.');
    EXPECT_EQ(store.get("FreeMBatAlarm"), "1.79769313486231E+308");
    EXPECT_EQ(settings.freeAtAlarmAtStartup(), kIntMax);
    EXPECT_EQ(BoxMegabytes("1e999"), kIntMax);
    EXPECT_EQ(BoxMegabytes("-99999999999"), kIntMin);
    EXPECT_EQ(BoxMegabytes("10.5"), 10);
    EXPECT_EQ(BoxMegabytes("12abc"), 12);
}

TEST_F(ProgramSettingsTest, RefusedWriteIsReportedAndTheStoredValueStays) {
    store.put("AlarmLevel", "8");
    store.refuseWrites = true;
    EXPECT_FALSE(settings.saveAlarmLevel("16", '.'));
    EXPECT_FALSE(settings.consumeStartAgent());
    EXPECT_EQ(settings.alarmLevelAtStartup(), 8);
    EXPECT_EQ(settings.startAgent(), 0);
}
