// Tray mode: entering, leaving, and the icon's mouse notifications.
#include <cmath>
#include <string>

#include "mainwindow/frmMain.h"

namespace tarvesk {

namespace {
// The icon's notification codes that the program acts on.
constexpr long kLeftDoubleClick = 0x203;
constexpr long kRightButtonUp = 0x205;
}  // namespace

void frmMain::tray_Click() {
    hide();
    openmain.setVisible(true);
    optimize.setVisible(true);
    filed0.setVisible(true);
    autooptimize.setVisible(true);
    // The mark follows the current flag, which the Configuration dialog may have changed.
    autooptimize.setChecked(true);
    if (shared_.AutoOptimize == 0) autooptimize.setChecked(false);

    // The icon appears with the window's own picture and the percentage; the tick right
    // after replaces both with the gauge and the tooltip in the chosen form.
    fillTrayRecord(icon(), std::to_string(shared_.FreePercent) + "% Memory Free" + '\0');
    platform_.tray.notify(TrayCommand::Add, shared_.TrayIconData);
    Timer1_Timer();
}

void frmMain::cmdTray_Click() { tray_Click(); }

void frmMain::openmain_Click() {
    openmain.setVisible(false);
    optimize.setVisible(false);
    filed0.setVisible(false);
    autooptimize.setVisible(false);
    platform_.tray.notify(TrayCommand::Delete, shared_.TrayIconData);
    show();
}

void frmMain::Form_MouseMove(int, int, float x, float) {
    // The shell puts the icon's notification code where the pointer's x in pixels would
    // be; the toolkit has turned it into twips.
    float perPixel = static_cast<float>(platform_.forms.twipsPerPixelX());
    if (!(perPixel > 0)) return;
    float code = x / perPixel;
    if (!(code >= 0 && code < 65536)) return;   // no message number (or not a number at all)
    // Rounding undoes the float error of a screen whose pixel is not a whole number of twips.
    switch (std::lround(code)) {
    case kLeftDoubleClick:
        openmain_Click();
        break;
    case kRightButtonUp:
        popupMenu(file, &openmain);
        break;
    default:
        break;
    }
}

void frmMain::Form_TaskbarCreated() {
    // The shell's notification area was recreated and has forgotten the icon: add it
    // again as it was last shown.
    if (inTrayMode()) platform_.tray.notify(TrayCommand::Add, shared_.TrayIconData);
}

}  // namespace tarvesk
