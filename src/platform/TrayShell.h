#pragma once
#include <array>
#include <cstdint>

namespace tarvesk {

enum class TrayCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The numbers of the shell's notification-icon protocol the program uses. The Windows layer
// checks at compile time that they equal the system's own constants.
inline constexpr std::uint32_t kTrayIconId = 1;
// The record's message, icon and tooltip fields are valid (NIF_MESSAGE | NIF_ICON | NIF_TIP).
inline constexpr std::uint32_t kTrayFieldsMessageIconTip = 7;
// The icon's notifications arrive as this message: a mouse move over the window (WM_MOUSEMOVE).
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;
// The notification codes the program acts on: the mouse message that happened over the icon.
inline constexpr long kTrayLeftDoubleClick = 0x203;   // WM_LBUTTONDBLCLK
inline constexpr long kTrayRightButtonUp = 0x205;     // WM_RBUTTONUP

// The notification-icon record the program sends to the shell. The icon is named by
// its resource id; the Windows layer turns it into the icon handle.
struct TrayIconRecord {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    int iconResourceId = 0;             // 0 = none
    std::array<char, 64> szTip{};       // fixed-length text field

    bool operator==(const TrayIconRecord&) const = default;
};

// The shell's notification area.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    // True when the shell took the command.
    virtual bool notify(TrayCommand command, const TrayIconRecord& record) = 0;
    // Size of the first-version narrow notification-icon record on this platform.
    virtual std::uint32_t recordSize() const = 0;
};

}  // namespace tarvesk
