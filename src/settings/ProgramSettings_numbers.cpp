#include "settings/ProgramSettings.h"

#include <algorithm>

#include "settings/Conversions.h"

namespace tarvesk {

std::int32_t BoxMegabytes(std::string_view boxText) { return ToInt32(LeadingNumber(boxText)); }

std::uint8_t ProgramSettings::autoOptimizeAtStartup() {
    return ToByte(LeadingNumber(read(keys::AutomaticOptimize, "0")));
}

std::int32_t ProgramSettings::alarmLevelAtStartup() {
    return ToInt32(LeadingNumber(read(keys::AlarmLevel, "0")));
}

std::int32_t ProgramSettings::freeAtAlarmAtStartup() {
    return ToInt32(LeadingNumber(read(keys::FreeMBatAlarm, "0")));
}

std::uint8_t ProgramSettings::trayTipInMBAtStartup() {
    return ToByte(LeadingNumber(read(keys::SysTrayTTT, "0")));
}

std::uint8_t ProgramSettings::startAgent() {
    return ToByte(LeadingNumber(read(keys::StartAgent, "0")));
}

std::int32_t ProgramSettings::lastRAMValue(std::int32_t min, std::int32_t max) {
    auto value = StrictNumber(read(keys::LastRAMValue, "0"));
    std::int32_t whole = value ? ToInt32(*value) : 0;
    return std::clamp(whole, min, std::max(min, max));
}

int ProgramSettings::autoOptimizeForDialog() {
    // Checked exactly when start-up would switch automatic optimization on.
    auto value = StrictNumber(read(keys::AutomaticOptimize, "0"));
    return value && ToInt32(*value) == 1 ? 1 : 0;
}

std::string ProgramSettings::alarmLevelForDialog(char decimalSeparator) {
    return NumberText(LeadingNumber(read(keys::AlarmLevel, "")), decimalSeparator);
}

std::string ProgramSettings::freeAtAlarmForDialog(char decimalSeparator) {
    return NumberText(LeadingNumber(read(keys::FreeMBatAlarm, "")), decimalSeparator);
}

std::uint8_t ProgramSettings::trayTipInMBForDialog() {
    auto value = StrictNumber(read(keys::SysTrayTTT, "0"));
    return value ? ToByte(*value) : 0;
}

bool ProgramSettings::saveLastRAMValue(std::int32_t megabytes) {
    return write(keys::LastRAMValue, NumberText(megabytes, '.'));
}

bool ProgramSettings::saveAlarmLevel(std::string_view boxText, char decimalSeparator) {
    return write(keys::AlarmLevel, NumberText(LeadingNumber(boxText), decimalSeparator));
}

bool ProgramSettings::saveFreeAtAlarm(std::string_view boxText, char decimalSeparator) {
    return write(keys::FreeMBatAlarm, NumberText(LeadingNumber(boxText), decimalSeparator));
}

}  // namespace tarvesk
