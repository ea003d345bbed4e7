#include "agent/frmTarveskA.h"

#include "settings/CommandLine.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

int frmTarveskA::fail(const std::string& text) {
    messages_.show(text, kTitle, MessageBoxStop);
    return 1;
}

int frmTarveskA::Form_Load() {
    // The mark goes under the main program's name, which is where its start-up looks,
    // and must be stored before the main program starts.
    if (!ProgramSettings(settings_).markStartAgent())
        return fail("Tarvesk Agent could not write StartAgent to the settings of Tarvesk "
                    "(HKEY_CURRENT_USER\\Software\\Tarvesk\\Settings). Tarvesk was not started.");

    std::string folder = program_.folder();
    if (folder.empty())
        return fail("Tarvesk Agent could not find the folder it was started from, so it "
                    "cannot start Tarvesk.exe.");

    std::string program = PathInFolder(folder, "Tarvesk.exe");
    std::string failure = launcher_.launch(program);
    if (!failure.empty()) return fail("Tarvesk Agent could not start " + program + ":\r\n" + failure);
    return 0;
}

}  // namespace tarvesk
