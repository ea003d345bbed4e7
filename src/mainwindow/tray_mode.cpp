// Tray mode: entering, leaving, and the icon's notifications.
#include "mainwindow/frmMain.h"
#include "mainwindow/tray_record.h"

namespace tarvesk {

// The four tray-only items of the File menu; visible exactly in tray mode.
void frmMain::showTrayItems(bool shown) {
    openmain.setVisible(shown);
    optimize.setVisible(shown);
    filed0.setVisible(shown);
    autooptimize.setVisible(shown);
}

void frmMain::tray_Click() {
    hide();
    showTrayItems(true);
    // The mark follows the current flag, which the Configuration dialog may have changed.
    autooptimize.setChecked(true);
    if (shared_.AutoOptimize == 0) autooptimize.setChecked(false);

    // The icon appears with the window's own picture and the percentage; the tick right
    // after replaces both with the gauge and the tooltip in the chosen form.
    sendTrayIcon(TrayCommand::Add, icon(), TrayTipText(false, shared_.FreePercent, shared_.FreeMB));
    Timer1_Timer();
}

void frmMain::cmdTray_Click() { tray_Click(); }

// Hides the tray-only items and deletes the icon as the last add or modify left it.
void frmMain::leaveTrayMode() {
    showTrayItems(false);
    sendTrayRecord(TrayCommand::Delete);
}

void frmMain::openmain_Click() {
    leaveTrayMode();
    show();
}

void frmMain::Form_Unload() {
    // Closed from outside while hidden in the tray (a WM_CLOSE, the end of the session):
    // the icon goes with the window. A shown window has no icon to take away.
    if (inTrayMode()) leaveTrayMode();
}

void frmMain::Form_MouseMove(int, int, float x, float) {
    // Only the icon's notifications act. The icon exists only in tray mode, when this
    // window is hidden; a mouse move over the shown window is only that, whatever its x
    // (at 200 % a pointer can stand at x = 517 px, the code of a right button's release).
    if (!inTrayMode()) return;
    switch (TrayNotificationCode(x, platform_.forms.twipsPerPixelX())) {
    case kTrayLeftDoubleClick:
        openmain_Click();
        break;
    case kTrayRightButtonUp:
        popupMenu(file, &openmain);
        break;
    default:
        break;
    }
}

void frmMain::Form_TaskbarCreated() {
    // The shell's notification area was recreated and has forgotten the icon: add it
    // again as it was last shown.
    if (inTrayMode()) sendTrayRecord(TrayCommand::Add);
}

}  // namespace tarvesk
