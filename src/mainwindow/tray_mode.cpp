// Tray mode: entering, leaving, and the icon's mouse notifications.
#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::tray_Click() {}
void frmMain::cmdTray_Click() { tray_Click(); }
void frmMain::openmain_Click() {}
void frmMain::Form_MouseMove(int, int, float, float) {}
void frmMain::Form_TaskbarCreated() {}

}  // namespace tarvesk
