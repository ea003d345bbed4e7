#include "mainwindow/tray_record.h"

#include <algorithm>
#include <cmath>

namespace tarvesk {

std::string TrayTipText(bool megabytes, std::uint8_t freePercent, std::int64_t freeMB) {
    std::string text = megabytes ? std::to_string(freeMB) + " MB Free"
                                 : std::to_string(freePercent) + "% Memory Free";
    return text + '\0';
}

void FillTrayRecord(TrayIconRecord& record, std::uint32_t recordSize, std::uintptr_t window,
                    int iconResourceId, std::string_view tip) {
    record.cbSize = recordSize;
    record.hWnd = window;
    record.uID = kTrayIconId;
    record.uFlags = kTrayFieldsMessageIconTip;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.iconResourceId = iconResourceId;
    record.szTip.fill(' ');
    std::copy_n(tip.begin(), std::min(tip.size(), record.szTip.size()), record.szTip.begin());
}

long TrayNotificationCode(float xTwips, double twipsPerPixel) {
    const auto perPixel = static_cast<float>(twipsPerPixel);
    if (!(perPixel > 0)) return -1;
    const float code = xTwips / perPixel;
    if (!(code >= 0 && code < 65536)) return -1;   // no message number, or not a number at all
    // Rounding undoes the float error of a screen whose pixel is not a whole number of twips.
    return std::lround(code);
}

}  // namespace tarvesk
