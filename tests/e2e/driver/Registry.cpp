#include "Driver.h"

#include <sddl.h>

namespace e2e {

namespace {

constexpr char kSettingsKey[] = "Software\\Tarvesk\\Settings";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

}  // namespace

// The Run key as the programs under test see it: on 64-bit Windows a 32-bit program's
// HKLM\Software is its own view (Wow6432Node), and Windows runs the Run values of both
// views at log-on.
REGSAM RunKeyView() { return ProgramsAre32Bit() ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::optional<std::string> ReadText(HKEY root, const std::string& subkey, const std::string& name,
                                    REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    char data[4096] = {};
    DWORD type = 0, size = sizeof data - 1;
    LONG status = RegQueryValueExA(key, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::string text(data, size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::optional<DWORD> ReadNumber(HKEY root, const std::string& subkey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD data = 0, type = 0, size = sizeof data;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return data;
}

bool WriteText(HKEY root, const std::string& subkey, const std::string& name, const std::string& text,
               REGSAM view) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const std::string& subkey, const std::string& name, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.empty() ? nullptr : name.c_str());
    RegCloseKey(key);
}

void DeleteKey(HKEY root, const std::string& subkey) { RegDeleteTreeA(root, subkey.c_str()); }

std::optional<std::string> ReadSetting(const std::string& name) {
    return ReadText(HKEY_CURRENT_USER, kSettingsKey, name);
}

bool WriteSetting(const std::string& name, const std::string& text) {
    return WriteText(HKEY_CURRENT_USER, kSettingsKey, name, text);
}

void ClearSettings() { DeleteKey(HKEY_CURRENT_USER, "Software\\Tarvesk"); }

std::optional<std::string> ReadRunValue() {
    return ReadText(HKEY_LOCAL_MACHINE, kRunKey, "Tarvesk", RunKeyView());
}

bool WriteRunValue(const std::string& text) {
    return WriteText(HKEY_LOCAL_MACHINE, kRunKey, "Tarvesk", text, RunKeyView());
}

void DeleteRunValue() { DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Tarvesk", RunKeyView()); }

const char* const kRunKeyPath = kRunKey;

ReadOnlyRegistryKey::ReadOnlyRegistryKey(HKEY root, const std::string& path, REGSAM view)
    : root_(root), path_(path), view_(view) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, READ_CONTROL | WRITE_DAC | view, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (size && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_.data(), &size) == ERROR_SUCCESS &&
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                             &readOnly, nullptr)) {
        applied_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    RegCloseKey(key);
}

ReadOnlyRegistryKey::~ReadOnlyRegistryKey() {
    if (!applied_) return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC | view_, &key) != ERROR_SUCCESS) return;
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_.data());
    RegCloseKey(key);
}

std::optional<DWORD> ScreenDpiSetting() {
    DWORD dpi = 0, size = sizeof dpi;
    if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &dpi,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return dpi;
}

void SetScreenDpiSetting(std::optional<DWORD> dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (dpi)
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*dpi), sizeof *dpi);
    else
        RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

std::optional<std::string> ReadUserRunValue() {
    return ReadText(HKEY_CURRENT_USER, kRunKey, "Tarvesk");
}

bool WriteUserRunValue(const std::string& text) {
    return WriteText(HKEY_CURRENT_USER, kRunKey, "Tarvesk", text);
}

void DeleteUserRunValue() { DeleteValue(HKEY_CURRENT_USER, kRunKey, "Tarvesk"); }

MemoryNow Memory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    return {status.ullTotalPhys, status.ullAvailPhys};
}

}  // namespace e2e
