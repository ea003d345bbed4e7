// The notification-area icon: its record, picture and tooltip.
#include <algorithm>
#include <string>

#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::fillTrayRecord(int icon, const std::string& tip) {
    TrayIconRecord& r = shared_.TrayIconData;
    r.cbSize = platform_.tray.recordSize();
    r.hWnd = hWnd();
    r.uID = 1;
    r.uFlags = 7;                  // message, icon and tooltip are valid
    r.uCallbackMessage = 0x200;    // notifications arrive as mouse moves over the window
    r.hIcon = icon;
    // The tooltip field is a fixed-length text: the tip (with its final NUL) from the
    // start, blanks after it, cut at the field's length.
    r.szTip.fill(' ');
    std::copy_n(tip.begin(), std::min(tip.size(), r.szTip.size()), r.szTip.begin());
}

void frmMain::UpdateTrayIcon() {
    std::string text = shared_.TrayTipInMB == 0 ? std::to_string(shared_.FreePercent) + "% Memory Free"
                                                : std::to_string(shared_.FreeMB) + " MB Free";
    shared_.TrayTip = text + '\0';
    fillTrayRecord(shared_.TrayPicture, shared_.TrayTip);
    platform_.tray.notify(TrayCommand::Modify, shared_.TrayIconData);
}

}  // namespace tarvesk
