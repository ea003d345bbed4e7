// The one-second tick: sample, readouts, tray picture, automatic optimization.
#include "mainwindow/frmMain.h"
#include "resource_ids.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

namespace {

// The gauge picture for `freeKB` kilobytes free (unrounded) out of `totalKB`. A value
// on a bound takes the lower picture.
int gaugePicture(double freeKB, double totalKB) {
    if (freeKB <= 1) return IDI_GAUGE_EMPTY;
    if (freeKB <= (1.0 / 20.0) * totalKB) return IDI_GAUGE_LOW;
    if (freeKB <= (1.0 / 4.0) * totalKB) return IDI_GAUGE_QUARTER;
    if (freeKB <= (1.0 / 2.0) * totalKB) return IDI_GAUGE_HALF;
    return IDI_GAUGE_HIGH;
}

}  // namespace

void frmMain::Timer1_Timer() {
    shared_.MemStatus = platform_.memory.sample();
    UpdateMemoryReadouts();

    const double availBytes = static_cast<double>(shared_.MemStatus.availPhys);
    if (inTrayMode()) {
        shared_.TrayPicture = gaugePicture(availBytes / 1024.0, static_cast<double>(shared_.TotalKB));
        UpdateTrayIcon();
    }

    // The alarm compares the unrounded megabytes, strictly below the level.
    if (shared_.AutoOptimize == 1 && availBytes / 1048576.0 < shared_.AlarmLevelMB) {
        OptimizeRam(static_cast<std::int64_t>(shared_.FreeAtAlarmMB) * 1048576);
    }
}

void frmMain::autooptimize_Click() {
    autooptimize.setChecked(!autooptimize.checked());
    const bool on = autooptimize.checked();
    shared_.AutoOptimize = on ? 1 : 0;
    ProgramSettings(platform_.settings).saveAutoOptimize(on);
}

}  // namespace tarvesk
