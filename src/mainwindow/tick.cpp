// The one-second tick: sample, readouts, tray picture, automatic optimization; and the
// tray menu's switch for automatic optimization.
#include "mainwindow/frmMain.h"
#include "monitor/MemoryFigures.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

void frmMain::Timer1_Timer() {
    shared_.MemStatus = platform_.memory.sample();
    UpdateMemoryReadouts();

    const std::uint64_t availBytes = shared_.MemStatus.availPhys;
    if (inTrayMode()) {
        shared_.TrayPicture = GaugePicture(availBytes, shared_.TotalKB);
        UpdateTrayIcon();
    }
    if (AutomaticOptimizationDue(shared_.AutoOptimize, availBytes, shared_.AlarmLevelMB)) {
        OptimizeRam(static_cast<std::int64_t>(shared_.FreeAtAlarmMB) * kMegabyte);
    }
}

void frmMain::autooptimize_Click() {
    autooptimize.setChecked(!autooptimize.checked());
    const bool on = autooptimize.checked();
    shared_.AutoOptimize = on ? 1 : 0;
    ProgramSettings(platform_.settings).saveAutoOptimize(on);
}

}  // namespace tarvesk
