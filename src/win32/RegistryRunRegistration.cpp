#include "win32/RegistryRunRegistration.h"

#include <memory>
#include <utility>

#include "settings/ProgramSettings.h"
#include "win32/ScopedHandles.h"

namespace tarvesk {

namespace {

const std::string kValueName(run::ValueName);

class RegistryRunKey : public RunKey {
public:
    explicit RegistryRunKey(RegKey key) : key_(std::move(key)) {}

    bool isRegistered() override {
        // Presence only: no data is read, any type counts.
        DWORD type = REG_SZ;
        DWORD size = 4096;
        return RegQueryValueExA(key_.get(), kValueName.c_str(), nullptr, &type, nullptr, &size) ==
               ERROR_SUCCESS;
    }

    void set(std::string_view commandLine) override {
        std::string data(commandLine.substr(0, commandLine.find('\0')));
        if (data.size() >= MAXDWORD) return;
        RegSetValueExA(key_.get(), kValueName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    }

    void remove() override { RegDeleteValueA(key_.get(), kValueName.c_str()); }

private:
    RegKey key_;
};

}  // namespace

RegistryRunRegistration::RegistryRunRegistration()
    : RegistryRunRegistration(HKEY_LOCAL_MACHINE, std::string(run::Subkey)) {}

RegistryRunRegistration::RegistryRunRegistration(HKEY root, std::string subkey)
    : root_(root), subkey_(std::move(subkey)) {}

RunKeyOpenResult RegistryRunRegistration::open() {
    if (RegKey key = RegKey::open(root_, subkey_.c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE))
        return {std::make_unique<RegistryRunKey>(std::move(key)), true};
    if (RegKey key = RegKey::open(root_, subkey_.c_str(), KEY_QUERY_VALUE))
        return {std::make_unique<RegistryRunKey>(std::move(key)), false};
    return {};
}

}  // namespace tarvesk
