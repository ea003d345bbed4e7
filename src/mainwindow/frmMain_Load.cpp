// Start-up of the main program: the main window's load.
#include "mainwindow/frmMain.h"
#include "resource_ids.h"

namespace tarvesk {

void frmMain::Form_Load() {
    setIcon(IDI_CHIP);
    InitMemoryTotals();
    openmain.setVisible(false);
    optimize.setVisible(false);
    filed0.setVisible(false);
    autooptimize.setVisible(false);
    Timer1_Timer();
}

}  // namespace tarvesk
