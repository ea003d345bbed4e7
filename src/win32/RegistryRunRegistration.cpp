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
    : RegistryRunRegistration({HKEY_LOCAL_MACHINE, std::string(run::Subkey)},
                              {HKEY_CURRENT_USER, std::string(run::Subkey)}) {}

RegistryRunRegistration::RegistryRunRegistration(Location machine, Location user)
    : machine_(std::move(machine)), user_(std::move(user)) {}

RunKeyOpenResult RegistryRunRegistration::open(RunPlace place) {
    const Location& at = place == RunPlace::Machine ? machine_ : user_;
    const REGSAM change = KEY_QUERY_VALUE | KEY_SET_VALUE;
    RegKey key = place == RunPlace::User ? RegKey::create(at.root, at.subkey.c_str(), change)
                                         : RegKey::open(at.root, at.subkey.c_str(), change);
    if (key) return {std::make_unique<RegistryRunKey>(std::move(key)), true};
    if (RegKey readOnly = RegKey::open(at.root, at.subkey.c_str(), KEY_QUERY_VALUE))
        return {std::make_unique<RegistryRunKey>(std::move(readOnly)), false};
    return {};
}

}  // namespace tarvesk
