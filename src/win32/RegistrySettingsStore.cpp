#include "win32/RegistrySettingsStore.h"

#include <windows.h>

#include <vector>

#include "win32/ScopedHandles.h"

namespace tarvesk {

namespace {

bool hasNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// "Software\<application>\<section>"; empty when a name cannot be a registry name.
std::string sectionPath(std::string_view application, std::string_view section) {
    if (application.empty() || section.empty() || hasNul(application) || hasNul(section))
        return {};
    std::string path = "Software\\";
    path += application;
    path += '\\';
    path += section;
    return path;
}

}  // namespace

std::string RegistrySettingsStore::GetSetting(std::string_view application,
                                              std::string_view section, std::string_view key,
                                              std::string_view defaultText) {
    std::string fallback(defaultText);
    std::string path = sectionPath(application, section);
    if (path.empty() || hasNul(key)) return fallback;
    RegKey hkey = RegKey::open(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE);
    if (!hkey) return fallback;

    // Room for the data and a NUL of our own, since stored data need not end in one. A longer
    // value fails with ERROR_MORE_DATA and reads as the default.
    std::vector<char> data(kMaxValueBytes + 1, '\0');
    std::string name(key);
    DWORD type = 0;
    DWORD size = kMaxValueBytes;
    if (RegQueryValueExA(hkey.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > kMaxValueBytes)
        return fallback;
    std::string_view stored(data.data(), size);
    return std::string(stored.substr(0, stored.find('\0')));
}

bool RegistrySettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                        std::string_view key, std::string_view text) {
    std::string path = sectionPath(application, section);
    if (path.empty() || hasNul(key) || hasNul(text) || text.size() + 1 > kMaxValueBytes)
        return false;
    RegKey hkey = RegKey::create(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE);
    if (!hkey) return false;
    std::string name(key);
    std::string data(text);
    return RegSetValueExA(hkey.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace tarvesk
