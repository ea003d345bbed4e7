#pragma once
#include <cstdint>
#include <memory>

#include "platform/TrayShell.h"
#include "win32/SystemFunction.h"

namespace tarvesk {

// The notification area through Shell_NotifyIconA, with the first-version narrow record.
// The record names its icon by resource id; each id is loaded from the program's own
// module once, at the system's small-icon size, and kept until the tray object goes away,
// so refreshing the icon every second creates no new handles.
class ShellTray : public TrayShell {
public:
    explicit ShellTray(SystemFunctionFinder find = FindSystemFunction);
    ~ShellTray() override;
    ShellTray(const ShellTray&) = delete;
    ShellTray& operator=(const ShellTray&) = delete;

    bool notify(TrayCommand command, const TrayIconRecord& record) override;
    std::uint32_t recordSize() const override;

    // The icon handle for a resource id (0 when the id is 0 or the resource is missing).
    std::uintptr_t icon(int resourceId);

private:
    class IconCache;
    std::unique_ptr<IconCache> icons_;
    SystemFunctionFinder find_;
};

}  // namespace tarvesk
