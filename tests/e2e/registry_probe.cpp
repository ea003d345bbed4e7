// Drives the registry settings store and the Run registration for registry_test.sh, which
// checks the registry afterwards with Wine's reg tool. Prints "name=value" lines; exits 1
// when something the probe can check by itself is wrong, 2 on a bad command line.
//
//   registry_probe save              writes every setting through the program's table
//   registry_probe read              prints what start-up and the dialog read
//   registry_probe run-set <place> <folder>  registers the agent of <folder> in the Run key
//   registry_probe run-query <place>         prints whether the Run value exists
//   registry_probe run-delete <place>        removes the Run value
//   registry_probe run-denied                the Run registration on keys it may not write
//                                            or open
// <place> is "machine" (HKEY_LOCAL_MACHINE) or "user" (HKEY_CURRENT_USER).
//   registry_probe store-denied      the settings store on a section it may not write
//   registry_probe info              the program's folder and decimal separator
#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "settings/CommandLine.h"
#include "settings/ProgramSettings.h"
#include "win32/RegistryRunRegistration.h"
#include "win32/RegistrySettingsStore.h"
#include "win32/ScopedHandles.h"
#include "win32/Win32ProgramInfo.h"

using namespace tarvesk;

namespace {

int failures = 0;

void print(const char* name, const std::string& value) {
    std::printf("%s=%s\n", name, value.c_str());
}
void print(const char* name, long long value) { std::printf("%s=%lld\n", name, value); }

void expect(bool condition, const char* what) {
    if (!condition) {
        std::printf("FAIL: %s\n", what);
        ++failures;
    }
}

int save() {
    RegistrySettingsStore store;
    ProgramSettings settings(store);
    expect(settings.saveAutoOptimize(true), "AutomaticOptimize written");
    expect(settings.saveLastRAMValue(42), "LastRAMValue written");
    expect(settings.saveAlarmLevel("10.5", ','), "AlarmLevel written");
    expect(settings.saveFreeAtAlarm("1e20", '.'), "FreeMBatAlarm written");
    expect(settings.saveTrayTipInMB(true), "SysTrayTTT written");
    expect(settings.markStartAgent(), "StartAgent written");
    return failures ? 1 : 0;
}

int read() {
    RegistrySettingsStore store;
    ProgramSettings settings(store);
    print("autoOptimize", settings.autoOptimizeAtStartup());
    print("alarmLevel", settings.alarmLevelAtStartup());
    print("freeAtAlarm", settings.freeAtAlarmAtStartup());
    print("trayTip", settings.trayTipInMBAtStartup());
    print("startAgent", settings.startAgent());
    print("lastRAM", settings.lastRAMValue(0, 1000));
    print("dialogAuto", settings.autoOptimizeForDialog());
    print("dialogAlarm", settings.alarmLevelForDialog('.'));
    print("dialogFree", settings.freeAtAlarmForDialog('.'));
    print("dialogTray", settings.trayTipInMBForDialog());
    print("rawAlarm", settings.read(keys::AlarmLevel, "<absent>"));
    return 0;
}

int runSet(RunPlace place, const std::string& folder) {
    RegistryRunRegistration run;
    RunKeyOpenResult opened = run.open(place);
    expect(opened.key != nullptr, "Run key opened");
    if (!opened.key) return 1;
    print("writable", opened.writable);
    opened.key->set(AgentCommandLine(folder));
    print("registered", opened.key->isRegistered());
    return failures ? 1 : 0;
}

int runQuery(RunPlace place) {
    RegistryRunRegistration run;
    RunKeyOpenResult opened = run.open(place);
    print("opened", opened.key != nullptr);
    print("writable", opened.writable);
    print("registered", opened.key && opened.key->isRegistered());
    return 0;
}

int runDelete(RunPlace place) {
    RegistryRunRegistration run;
    RunKeyOpenResult opened = run.open(place);
    expect(opened.key != nullptr, "Run key opened");
    if (!opened.key) return 1;
    opened.key->remove();
    print("registered", opened.key->isRegistered());
    opened.key->remove();   // deleting an absent value is no error
    return failures ? 1 : 0;
}

// A key that everyone may read but nobody may write; false when it cannot be made.
bool makeReadOnlyKey(const char* path, const char* valueName, const char* data) {
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
    {
        RegKey key = RegKey::create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
        if (!key) return false;
        RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                       static_cast<DWORD>(std::strlen(data) + 1));
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Protected DACL: everyone (and so the owner) gets read access only.
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    bool done = false;
    if (RegKey key = RegKey::open(HKEY_CURRENT_USER, path, WRITE_DAC))
        done = RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    return done;
}

// Whether the registry refuses to open the key for writing (Wine may not enforce key DACLs).
bool writeRefused(const char* path) {
    return !RegKey::open(HKEY_CURRENT_USER, path, KEY_SET_VALUE);
}

// Reads a value directly, "<absent>" when it is not there.
std::string rawValue(const char* path, const char* valueName) {
    RegKey key = RegKey::open(HKEY_CURRENT_USER, path, KEY_QUERY_VALUE);
    char data[256] = {};
    DWORD size = sizeof data - 1;
    if (!key || RegQueryValueExA(key.get(), valueName, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return "<absent>";
    return data;
}

void removeTestKey(const char* path) {
    // Give write access back so the key can go.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1,
                                                             &descriptor, nullptr)) {
        if (RegKey key = RegKey::open(HKEY_CURRENT_USER, path, WRITE_DAC))
            RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

int runDenied() {
    // An absent machine-wide key cannot be opened at all: no key, not registered, nothing
    // else happens. An absent user's key is made: any user may make it.
    {
        const char* userPath = "Software\\TarveskProbe\\NoSuchKey\\Run";
        RegistryRunRegistration missing({HKEY_LOCAL_MACHINE, "Software\\TarveskProbe\\NoSuchKey\\Run"},
                                        {HKEY_CURRENT_USER, userPath});
        RunKeyOpenResult opened = missing.open(RunPlace::Machine);
        print("missingOpened", opened.key != nullptr);
        print("missingWritable", opened.writable);
        expect(!opened.key && !opened.writable, "an absent key gives no key");
        RegDeleteKeyA(HKEY_CURRENT_USER, userPath);
        RunKeyOpenResult created = missing.open(RunPlace::User);
        print("missingUserOpened", created.key != nullptr);
        print("missingUserWritable", created.writable);
        if (created.key) {
            created.key->set("\"C:\\new.exe\"");
            print("missingUserRegistered", created.key->isRegistered());
        }
        created = {};
        RegDeleteKeyA(HKEY_CURRENT_USER, userPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarveskProbe\\NoSuchKey");
    }
    // A key the user may read but not write: opened for query only, in either place.
    const char* path = "Software\\TarveskProbe\\ReadOnlyRun";
    std::string name(run::ValueName);
    bool made = makeReadOnlyKey(path, name.c_str(), "other.exe");
    bool enforced = made && writeRefused(path);
    print("denyEnforced", enforced);
    for (RunPlace place : {RunPlace::Machine, RunPlace::User}) {
        RegistryRunRegistration denied({HKEY_CURRENT_USER, path}, {HKEY_CURRENT_USER, path});
        RunKeyOpenResult opened = denied.open(place);
        const std::string prefix = place == RunPlace::User ? "userDenied" : "denied";
        print((prefix + "Opened").c_str(), opened.key != nullptr);
        print((prefix + "Writable").c_str(), opened.writable);
        print((prefix + "Registered").c_str(), opened.key && opened.key->isRegistered());
        if (opened.key) {
            opened.key->set("\"C:\\new.exe\"");   // refused where the DACL is enforced
            opened.key->remove();
        }
        if (enforced) {
            expect(opened.key && !opened.writable, "read-only key opened for query only");
            expect(opened.key && opened.key->isRegistered(), "presence still seen");
            expect(rawValue(path, name.c_str()) == "other.exe", "value unchanged");
        }
    }
    removeTestKey(path);
    return failures ? 1 : 0;
}

int storeDenied() {
    const char* path = "Software\\TarveskProbe\\Locked";
    bool made = makeReadOnlyKey(path, "Key", "old");
    bool enforced = made && writeRefused(path);
    print("denyEnforced", enforced);
    RegistrySettingsStore store;
    bool saved = store.SaveSetting("TarveskProbe", "Locked", "Key", "new");
    print("saved", saved);
    std::string back = store.GetSetting("TarveskProbe", "Locked", "Key", "<default>");
    print("readBack", back);
    // Whatever happened to the write, a read returns what the registry holds.
    expect(back == rawValue(path, "Key"), "read returns the stored value");
    if (enforced) {
        expect(!saved, "refused write reported");
        expect(back == "old", "stored value unchanged");
    }
    removeTestKey(path);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TarveskProbe");
    return failures ? 1 : 0;
}

std::optional<RunPlace> placeOf(const std::string& word) {
    if (word == "machine") return RunPlace::Machine;
    if (word == "user") return RunPlace::User;
    return std::nullopt;
}

int info() {
    Win32ProgramInfo program;
    print("folder", program.folder());
    print("separator", std::string(1, program.decimalSeparator()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    int rc = 2;
    if (command == "save") rc = save();
    else if (command == "read") rc = read();
    else if (command == "run-set" && argc > 3 && placeOf(argv[2])) rc = runSet(*placeOf(argv[2]), argv[3]);
    else if (command == "run-query" && argc > 2 && placeOf(argv[2])) rc = runQuery(*placeOf(argv[2]));
    else if (command == "run-delete" && argc > 2 && placeOf(argv[2])) rc = runDelete(*placeOf(argv[2]));
    else if (command == "run-denied") rc = runDenied();
    else if (command == "store-denied") rc = storeDenied();
    else if (command == "info") rc = info();
    else std::fprintf(stderr, "usage: registry_probe save|read|run-set <place> <folder>|"
                              "run-query <place>|run-delete <place>|run-denied|store-denied|info\n"
                              "       <place>: machine|user\n");
    std::fflush(stdout);
    return rc;
}
