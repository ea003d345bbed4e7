#pragma once
// The tray icon's record, its tooltip text, and the notifications that come back from it.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TrayShell.h"

namespace tarvesk {

// The tooltip, with the final NUL the record's field holds: the free share ("39% Memory
// Free"), or with `megabytes` the free megabytes ("50 MB Free").
std::string TrayTipText(bool megabytes, std::uint8_t freePercent, std::int64_t freeMB);

// Fills every field of the record, as each add and modify does: the shell's record size,
// the window that gets the notifications, icon 1, message, icon and tooltip valid, the
// notifications as mouse moves, the picture, and the tooltip field. The field is a
// fixed-length text: `tip` from the start, blanks after it, cut at the field's length.
void FillTrayRecord(TrayIconRecord& record, std::uint32_t recordSize, std::uintptr_t window,
                    int iconResourceId, std::string_view tip);

// The shell puts an icon notification's code (the mouse message over the icon) where the
// pointer's x in pixels would be, and the toolkit hands x on in twips: the code is x over
// the twips per pixel, to the nearest whole number. -1 when that is no message number.
long TrayNotificationCode(float xTwips, double twipsPerPixel);

}  // namespace tarvesk
