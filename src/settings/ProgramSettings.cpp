#include "settings/ProgramSettings.h"

// The settings stored as plain flags and the raw access. The settings stored as numbers
// are read and written in ProgramSettings_numbers.cpp, so that a program that only sets a
// flag (the start-up agent) does not link the number conversions.

namespace tarvesk {

std::string ProgramSettings::read(std::string_view key, std::string_view defaultText) {
    return store_.GetSetting(kAppName, kSection, key, defaultText);
}

bool ProgramSettings::write(std::string_view key, std::string_view text) {
    return store_.SaveSetting(kAppName, kSection, key, text);
}

bool ProgramSettings::saveAutoOptimize(bool on) {
    return write(keys::AutomaticOptimize, on ? "1" : "0");
}

bool ProgramSettings::saveTrayTipInMB(bool megabytes) {
    return write(keys::SysTrayTTT, megabytes ? "1" : "0");
}

bool ProgramSettings::consumeStartAgent() { return write(keys::StartAgent, "0"); }

bool ProgramSettings::markStartAgent() { return write(keys::StartAgent, "1"); }

}  // namespace tarvesk
