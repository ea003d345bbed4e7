#pragma once
#include <string>
#include <string_view>

namespace tarvesk {

// The per-user application-settings store: text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultText` when the key (or its application or section) is absent
    // or unreadable.
    virtual std::string GetSetting(std::string_view application, std::string_view section,
                                   std::string_view key, std::string_view defaultText) = 0;
    // Creates or replaces the value. Returns false when the store refused the write.
    virtual bool SaveSetting(std::string_view application, std::string_view section,
                             std::string_view key, std::string_view text) = 0;
};

}  // namespace tarvesk
