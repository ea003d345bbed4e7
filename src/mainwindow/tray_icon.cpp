// The notification-area icon: its record, picture and tooltip.
#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::fillTrayRecord(int, const std::string&) {}
void frmMain::UpdateTrayIcon() {}

}  // namespace tarvesk
