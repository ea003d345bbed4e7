#pragma once
#include "platform/SettingsStore.h"

namespace tarvesk {

// The per-user settings store in the registry: REG_SZ values under
// HKEY_CURRENT_USER\Software\<application>\<section>. Both programs use it.
class RegistrySettingsStore : public SettingsStore {
public:
    // The longest value, in bytes with its terminating NUL, that is read or written. Longer
    // stored values read as the default; longer texts are not written.
    static constexpr unsigned long kMaxValueBytes = 4096;

    // The default when the key, section or application is absent, the value is not REG_SZ,
    // or it cannot be read.
    std::string GetSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view defaultText) override;
    // False when the store refused the write (the stored value is then unchanged).
    bool SaveSetting(std::string_view application, std::string_view section,
                     std::string_view key, std::string_view text) override;
};

}  // namespace tarvesk
