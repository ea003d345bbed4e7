// Automatic start at log-on, the Configuration dialog's `chkAutoStart`: Windows runs the
// agent for every user from the machine-wide Run key, and for one user from that user's own.
// Only an administrator (on Windows with UAC, one who started the program elevated) may
// write the machine-wide key; any user may write their own. So the dialog registers
// machine-wide where it may, and for this user alone where it may not.
//
// Done leaves at most one registration that starts the agent at this user's log-on, since
// two would start two copies of the program:
// - checked: the value goes where automatic start applies, and the other place loses its
//   value where this user may remove it; a machine-wide value that this user may not remove
//   already starts the agent for them, so then nothing is added;
// - cleared: the value goes from every place this user may write. A machine-wide value set
//   up by an administrator stays, and the box shows it checked again next time; its tooltip
//   says so.
#include "settings/frmSettings.h"

#include "settings/CommandLine.h"

namespace tarvesk {

namespace {

const char* const kForEveryUser = "Starts Tarvesk for every user of this computer";
const char* const kForThisUser = "Starts Tarvesk for this user only";
const char* const kSetUpForEveryUser =
    "Set up for every user; only an administrator can turn it off";
const char* const kNeedsAdministrator = "Automatic start needs administrator rights";

}  // namespace

void frmSettings::loadAutoStart() {
    for (RunPlace place : {RunPlace::Machine, RunPlace::User}) {
        RunKeyState& state = runKey(place);
        RunKeyOpenResult opened = platform_.run.open(place);
        state.key = std::move(opened.key);
        state.writable = state.key && opened.writable;
        state.registered = state.key && state.key->isRegistered();
    }
    if (machineRun_.registered || userRun_.registered) chkAutoStart.setValue(1);

    const std::optional<RunPlace> place = autoStartPlace();
    if (!place) {
        chkAutoStart.setEnabled(false);
        chkAutoStart.setToolTip(kNeedsAdministrator);
    } else if (*place == RunPlace::Machine) {
        chkAutoStart.setToolTip(kForEveryUser);
    } else {
        chkAutoStart.setToolTip(machineRun_.registered ? kSetUpForEveryUser : kForThisUser);
    }
}

void frmSettings::saveAutoStart() {
    const std::optional<RunPlace> place = autoStartPlace();
    if (!place) return;
    const bool on = chkAutoStart.value() != 0;
    const bool startedMachineWide = *place == RunPlace::User && machineRun_.registered;
    const std::string agent = AgentCommandLine(platform_.program.folder());
    for (RunPlace each : {RunPlace::Machine, RunPlace::User}) {
        RunKeyState& state = runKey(each);
        if (!state.writable) continue;
        if (on && each == *place && !startedMachineWide) state.key->set(agent);
        else state.key->remove();
    }
}

void frmSettings::closeRunKeys() {
    machineRun_.key.reset();
    userRun_.key.reset();
}

std::optional<RunPlace> frmSettings::autoStartPlace() const {
    if (machineRun_.writable) return RunPlace::Machine;
    if (userRun_.writable) return RunPlace::User;
    return std::nullopt;
}

frmSettings::RunKeyState& frmSettings::runKey(RunPlace place) {
    return place == RunPlace::Machine ? machineRun_ : userRun_;
}

}  // namespace tarvesk
