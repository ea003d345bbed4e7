#pragma once
#include <windows.h>

#include <string>

#include "platform/RunRegistration.h"

namespace tarvesk {

// The Run registration in the registry: the REG_SZ value "Tarvesk" of
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run. The root and subkey
// can be changed (tests use keys of their own).
class RegistryRunRegistration : public RunRegistration {
public:
    RegistryRunRegistration();
    RegistryRunRegistration(HKEY root, std::string subkey);

    // Opens the key for query, set and delete; when that is refused (a user who may not write
    // the machine-wide key), for query only, with `writable` false; when that fails too, no key.
    RunKeyOpenResult open() override;

private:
    HKEY root_;
    std::string subkey_;
};

}  // namespace tarvesk
