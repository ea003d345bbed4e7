#pragma once
#include <array>
#include <cstdint>

namespace tarvesk {

enum class TrayCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The notification-icon record the program sends to the shell. The icon is named by
// its resource id; the Windows layer turns it into the icon handle.
struct TrayIconRecord {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    int hIcon = 0;                      // icon resource id; 0 = none
    std::array<char, 64> szTip{};       // fixed-length text field

    bool operator==(const TrayIconRecord&) const = default;
};

// The shell's notification area.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    virtual bool notify(TrayCommand command, const TrayIconRecord& record) = 0;
    // Size of the first-version narrow notification-icon record on this platform.
    virtual std::uint32_t recordSize() const = 0;
};

}  // namespace tarvesk
