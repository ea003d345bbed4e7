#include "agent/frmTarveskA.h"

#include "settings/ProgramSettings.h"

namespace tarvesk {

int frmTarveskA::Form_Load() {
    // The mark must be stored before the main program starts, since its start-up reads it.
    if (!ProgramSettings(settings_).markStartAgent()) {
        messages_.show("Tarvesk Agent could not record the start in the settings store.",
                       kTitle, MessageBoxStop);
        return 1;
    }
    std::string program = program_.folder() + "\\Tarvesk.exe";
    std::string failure = launcher_.launch(program);
    if (!failure.empty()) {
        messages_.show("Tarvesk Agent could not start " + program + ":\r\n" + failure, kTitle,
                       MessageBoxStop);
        return 1;
    }
    return 0;
}

}  // namespace tarvesk
