// Start-up of the main program: the main window's load. It takes the first memory
// sample, sets the ranges, the menus, the slider and the settings, and picks the start
// mode. The entry point shows the window afterwards unless the load went to tray mode.
#include "mainwindow/frmMain.h"
#include "resource_ids.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

void frmMain::Form_Load() {
    ProgramSettings settings(platform_.settings);

    setIcon(IDI_CHIP);

    // Sample once, derive the totals, and set the ranges of the slider and both gauges.
    InitMemoryTotals();

    // The tray-only items of the File menu stay hidden while the window is shown.
    showTrayItems(false);

    // A change of position runs the slider's own change handling.
    Slider1.setValue(settings.lastRAMValue(Slider1.min(), Slider1.max()));

    // No separator test: at a drive's root this gives two in a row, which Windows accepts.
    shared_.HelpFile = platform_.program.folder() + "\\tarvesk.hlp";

    shared_.AutoOptimize = settings.autoOptimizeAtStartup();
    shared_.AlarmLevelMB = settings.alarmLevelAtStartup();
    shared_.FreeAtAlarmMB = settings.freeAtAlarmAtStartup();
    shared_.TrayTipInMB = settings.trayTipInMBAtStartup();

    // Any non-zero value shows the mark; automatic optimization itself needs exactly 1.
    autooptimize.setChecked(shared_.AutoOptimize != 0);

    if (settings.startAgent() == 1) {
        // Started by the agent at log-on: consume its mark and live in the tray.
        settings.consumeStartAgent();
        tray_Click();
    } else {
        // Real figures before the window is first shown.
        Timer1_Timer();
    }
}

}  // namespace tarvesk
