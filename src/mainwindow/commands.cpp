// The main window's commands: About, Configuration, Contents, Exit and the session commands.
#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::showAbout() {}
void frmMain::cmdAbout_Click() { showAbout(); }
void frmMain::fileabout_Click() { showAbout(); }
void frmMain::helpabout_Click() { showAbout(); }
void frmMain::config_Click() {}
void frmMain::contents_Click() {}
void frmMain::exit_Click() { platform_.forms.endProgram(); }
void frmMain::logoff_Click() {}
void frmMain::reboot_Click() {}
void frmMain::shutdown_Click() {}

}  // namespace tarvesk
