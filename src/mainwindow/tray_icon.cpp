// The notification-area icon: its record, picture and tooltip, and what the shell is told.
#include <string>

#include "mainwindow/frmMain.h"
#include "mainwindow/tray_record.h"

namespace tarvesk {

void frmMain::UpdateTrayIcon() {
    shared_.TrayTip = TrayTipText(shared_.TrayTipInMB != 0, shared_.FreePercent, shared_.FreeMB);
    sendTrayIcon(TrayCommand::Modify, shared_.TrayPicture, shared_.TrayTip);
}

void frmMain::sendTrayIcon(TrayCommand command, int iconResourceId, const std::string& tip) {
    FillTrayRecord(shared_.TrayIconData, platform_.tray.recordSize(), hWnd(), iconResourceId, tip);
    sendTrayRecord(command);
}

void frmMain::sendTrayRecord(TrayCommand command) {
    const TrayIconRecord& record = shared_.TrayIconData;
    // Telling the shell what it shows already would only wake it (and, under Wine, its
    // taskbar) every second for nothing.
    if (command == TrayCommand::Modify && trayShown_ == record) return;
    const bool taken = platform_.tray.notify(command, record);
    // After a refusal the shell's picture is unknown: the next modify goes out whatever it holds.
    if (taken && command != TrayCommand::Delete) trayShown_ = record;
    else trayShown_.reset();
}

}  // namespace tarvesk
