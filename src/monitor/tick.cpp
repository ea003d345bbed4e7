// The one-second tick: sample, readouts, tray picture, automatic optimization.
#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::Timer1_Timer() {
    shared_.MemStatus = platform_.memory.sample();
    UpdateMemoryReadouts();
}

void frmMain::autooptimize_Click() {}

}  // namespace tarvesk
