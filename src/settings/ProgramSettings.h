#pragma once
// The one table of the program's settings: names, defaults, and how each reader turns the
// stored text into a value. Every part of the program reads and writes settings here.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SettingsStore.h"

namespace tarvesk {

inline constexpr std::string_view kAppName = "Tarvesk";
inline constexpr std::string_view kSection = "Settings";

namespace keys {
inline constexpr std::string_view AutomaticOptimize = "AutomaticOptimize";
inline constexpr std::string_view LastRAMValue = "LastRAMValue";
inline constexpr std::string_view AlarmLevel = "AlarmLevel";
inline constexpr std::string_view FreeMBatAlarm = "FreeMBatAlarm";
inline constexpr std::string_view SysTrayTTT = "SysTrayTTT";
inline constexpr std::string_view StartAgent = "StartAgent";
}  // namespace keys

class ProgramSettings {
public:
    explicit ProgramSettings(SettingsStore& store) : store_(store) {}

    // Raw access in the program's application and section.
    std::string read(std::string_view key, std::string_view defaultText);
    bool write(std::string_view key, std::string_view text);

    // Read at start-up of the main program.
    std::uint8_t autoOptimizeAtStartup();    // AutomaticOptimize
    std::int32_t alarmLevelAtStartup();      // AlarmLevel
    std::int32_t freeAtAlarmAtStartup();     // FreeMBatAlarm
    std::uint8_t trayTipInMBAtStartup();     // SysTrayTTT
    std::uint8_t startAgent();               // StartAgent
    // The slider's last position, brought into min..max (0, or the nearest end, when unreadable).
    std::int32_t lastRAMValue(std::int32_t min, std::int32_t max);

    // Read by the Configuration dialog.
    int autoOptimizeForDialog();                       // 0 cleared, 1 checked
    std::string alarmLevelForDialog(char decimalSeparator);
    std::string freeAtAlarmForDialog(char decimalSeparator);
    std::uint8_t trayTipInMBForDialog();

    // Writes.
    bool saveLastRAMValue(std::int32_t megabytes);
    bool saveAutoOptimize(bool on);
    bool saveAlarmLevel(std::string_view boxText, char decimalSeparator);
    bool saveFreeAtAlarm(std::string_view boxText, char decimalSeparator);
    bool saveTrayTipInMB(bool megabytes);
    bool consumeStartAgent();   // "0"
    bool markStartAgent();      // "1", written by the start-up agent

private:
    SettingsStore& store_;
};

}  // namespace tarvesk
