// The main window's commands: About, Configuration, Contents, Exit and the session commands.
// None asks for confirmation and none reports a failure of what it asks of the system.
#include <memory>

#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "settings/frmSettings.h"
#include "mainwindow/help_contents.h"

namespace tarvesk {

// The About window and the Configuration dialog are single shared instances. A window
// that was closed has been unloaded; its model object is replaced by a fresh one here,
// outside any of its own handlers, so the next load starts from the design-time state.
void frmMain::showAbout() {
    if (!about_ || !about_->loaded()) about_ = std::make_unique<frmAbout>(platform_.forms);
    about_->show();   // loads it the first time, brings it forward afterwards
}

void frmMain::cmdAbout_Click() { showAbout(); }
void frmMain::fileabout_Click() { showAbout(); }
void frmMain::helpabout_Click() { showAbout(); }

void frmMain::config_Click() {
    if (!settings_ || !settings_->loaded())
        settings_ = std::make_unique<frmSettings>(platform_, shared_, shared_.TotalMB);
    settings_->show();
}

void frmMain::contents_Click() { ShowHelpContents(platform_.help, hWnd(), shared_.HelpFile); }

// Removes the tray icon (harmless when there is none) and ends at once; no setting is written.
void frmMain::exit_Click() {
    sendTrayRecord(TrayCommand::Delete);
    platform_.forms.endProgram();
}

void frmMain::logoff_Click() { platform_.session.exitWindows(SessionEnd::LogOff); }
void frmMain::reboot_Click() { platform_.session.exitWindows(SessionEnd::Reboot); }
void frmMain::shutdown_Click() { platform_.session.exitWindows(SessionEnd::ShutDown); }

}  // namespace tarvesk
