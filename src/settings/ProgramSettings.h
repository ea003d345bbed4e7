#pragma once
// The one table of the program's settings: names, defaults, and how each reader turns the
// stored text into a value. Every part of the program reads and writes settings here.
//
// Key               stored form            start-up read                dialog read
// AutomaticOptimize "1" on, "0" off        "0", leading number, 8 bits  0, strict
// LastRAMValue      whole number           0, strict, 32 bits           -
// AlarmLevel        NumberText of the box  "0", leading number, 32 bits "", NumberText(leading)
// FreeMBatAlarm     NumberText of the box  "0", leading number, 32 bits "", NumberText(leading)
// SysTrayTTT        "0" percent, "1" MB    "0", leading number, 8 bits  "0", strict, 8 bits
// StartAgent        "1" set, "0" consumed  "0", leading number, 8 bits  -
//
// Hand-edited values never stop the program: text a strict read cannot take reads as that
// read's default, and numbers outside a value's range become the nearest value in range.
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

// The Run registration that starts the agent at log-on: the same subkey and value under
// HKEY_LOCAL_MACHINE (every user's log-on) and HKEY_CURRENT_USER (this user's log-on).
namespace run {
inline constexpr std::string_view Subkey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view ValueName = "Tarvesk";
}  // namespace run

// The megabytes a box's text stands for, as Done puts them into the in-memory copies: its
// leading number rounded to signed 32 bits, halves to even, beyond the range to the nearest
// end ("12abc" -> 12, "10.5" -> 10, "1e999" -> 2147483647).
std::int32_t BoxMegabytes(std::string_view boxText);

class ProgramSettings {
public:
    explicit ProgramSettings(SettingsStore& store) : store_(store) {}

    // Raw access in the program's application and section.
    std::string read(std::string_view key, std::string_view defaultText);
    bool write(std::string_view key, std::string_view text);

    // Read at start-up of the main program. Leading numbers, so "12MB" reads 12 and "abc" 0;
    // out of range to the nearest end ("-5" -> 0 for 8 bits, "99999999999" -> 2147483647).
    std::uint8_t autoOptimizeAtStartup();    // AutomaticOptimize; on only when it is 1
    std::int32_t alarmLevelAtStartup();      // AlarmLevel
    std::int32_t freeAtAlarmAtStartup();     // FreeMBatAlarm
    std::uint8_t trayTipInMBAtStartup();     // SysTrayTTT; non-zero means megabytes
    std::uint8_t startAgent();               // StartAgent; 1 means the agent started us
    // The slider's last position, brought into min..max (0, or the nearest end, when unreadable).
    std::int32_t lastRAMValue(std::int32_t min, std::int32_t max);

    // Read by the Configuration dialog.
    int autoOptimizeForDialog();             // 1 checked when it reads as 1, else 0 cleared
    std::string alarmLevelForDialog(char decimalSeparator);
    std::string freeAtAlarmForDialog(char decimalSeparator);
    std::uint8_t trayTipInMBForDialog();     // 0 when unreadable

    // Writes. They return false when the store refused; the program goes on either way.
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
