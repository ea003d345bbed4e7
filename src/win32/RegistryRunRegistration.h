#pragma once
#include <windows.h>

#include <string>

#include "platform/RunRegistration.h"

namespace tarvesk {

// The Run registration in the registry: the REG_SZ value "Tarvesk" of
// Software\Microsoft\Windows\CurrentVersion\Run under HKEY_LOCAL_MACHINE (every user) and
// under HKEY_CURRENT_USER (this user). The keys can be changed (tests use keys of their own).
class RegistryRunRegistration : public RunRegistration {
public:
    struct Location {
        HKEY root;
        std::string subkey;
    };
    RegistryRunRegistration();
    RegistryRunRegistration(Location machine, Location user);

    // Opens the place's key for query, set and delete; when that is refused (a user who may
    // not write the machine-wide key), for query only, with `writable` false; when that fails
    // too, no key. The user's key is created when absent: a fresh profile may lack it, and
    // any user may create it.
    RunKeyOpenResult open(RunPlace place) override;

private:
    Location machine_;
    Location user_;
};

}  // namespace tarvesk
