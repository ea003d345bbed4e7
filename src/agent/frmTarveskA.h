#pragma once
#include <string>

#include "platform/MessageBox.h"
#include "platform/ProcessLauncher.h"
#include "platform/ProgramInfo.h"
#include "platform/SettingsStore.h"

namespace tarvesk {

// The start-up agent's window. It is loaded only to run its load handler, which marks
// the start as the agent's, starts the main program and ends; it is never shown.
class frmTarveskA {
public:
    frmTarveskA(SettingsStore& settings, ProcessLauncher& launcher, ProgramInfo& program,
                MessageBoxService& messages)
        : settings_(settings), launcher_(launcher), program_(program), messages_(messages) {}

    static constexpr const char* kTitle = "Tarvesk Agent";

    // Runs the whole agent: stores StartAgent = "1", then starts Tarvesk.exe from the
    // agent's folder. A failing step is shown to the user and the steps after it are skipped.
    // Returns the process exit code: 0 when the main program was started, 1 otherwise.
    int Form_Load();

private:
    int fail(const std::string& text);

    SettingsStore& settings_;
    ProcessLauncher& launcher_;
    ProgramInfo& program_;
    MessageBoxService& messages_;
};

}  // namespace tarvesk
