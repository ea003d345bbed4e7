#include "win32/ShellTray.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/Shell32.h"

#include <cstring>
#include <map>

namespace tarvesk {

// The logic speaks the shell's protocol in its own names; these are the system's numbers.
static_assert(kTrayFieldsMessageIconTip == (NIF_MESSAGE | NIF_ICON | NIF_TIP));
static_assert(kTrayCallbackMessage == WM_MOUSEMOVE);
static_assert(kTrayLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(kTrayRightButtonUp == WM_RBUTTONUP);

class ShellTray::IconCache {
public:
    IconCache() = default;
    ~IconCache() {
        for (auto& [id, icon] : icons_) {
            if (icon) DestroyIcon(icon);
        }
    }
    IconCache(const IconCache&) = delete;
    IconCache& operator=(const IconCache&) = delete;

    HICON get(int resourceId) {
        if (resourceId == 0) return nullptr;
        auto found = icons_.find(resourceId);
        if (found != icons_.end()) return found->second;
        // A missing resource is remembered too, so it is not looked for again every tick.
        // The shell shows the icon at the small-icon size, which follows the DPI (16, 20, 24,
        // 32 px at 96, 120, 144, 192 DPI); each of those sizes is drawn in the resources.
        const int size = GetSystemMetrics(SM_CXSMICON);
        auto icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                                  IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        icons_.emplace(resourceId, icon);
        return icon;
    }

private:
    std::map<int, HICON> icons_;
};

ShellTray::ShellTray(SystemFunctionFinder find) : icons_(std::make_unique<IconCache>()), find_(find) {}

ShellTray::~ShellTray() = default;

std::uint32_t ShellTray::recordSize() const { return NOTIFYICONDATAA_V1_SIZE; }

std::uintptr_t ShellTray::icon(int resourceId) {
    return reinterpret_cast<std::uintptr_t>(icons_->get(resourceId));
}

bool ShellTray::notify(TrayCommand command, const TrayIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = record.cbSize;
    data.hWnd = reinterpret_cast<HWND>(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = icons_->get(record.iconResourceId);
    static_assert(sizeof data.szTip >= sizeof record.szTip);
    std::memcpy(data.szTip, record.szTip.data(), sizeof record.szTip);

    DWORD message = NIM_ADD;
    switch (command) {
    case TrayCommand::Add: message = NIM_ADD; break;
    case TrayCommand::Modify: message = NIM_MODIFY; break;
    case TrayCommand::Delete: message = NIM_DELETE; break;
    }
    return shell32::NotifyIcon(message, &data, find_) != FALSE;
}

}  // namespace tarvesk
