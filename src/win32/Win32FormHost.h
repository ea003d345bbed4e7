#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <utility>

#include "forms/Form.h"
#include "win32/ScopedHandles.h"

namespace tarvesk {

class FormWindow;

// The Windows toolkit behind the form model: creates a native window for each loaded
// form, owns the fonts, icons and cursor the windows use, and runs the message loop.
class Win32FormHost : public forms::FormHost {
public:
    // Makes the process DPI aware first, so every window is laid out in real pixels.
    explicit Win32FormHost(HINSTANCE instance);
    ~Win32FormHost() override;
    Win32FormHost(const Win32FormHost&) = delete;
    Win32FormHost& operator=(const Win32FormHost&) = delete;

    std::unique_ptr<forms::FormView> createView(forms::Form& form) override;
    // The screen's twips per pixel, from the system DPI. The windows turn mouse positions
    // into twips with exactly this figure, so a position divided by it gives the pixel back.
    double twipsPerPixelX() const override { return 1440.0 / systemDpi_; }
    double twipsPerPixelY() const { return 1440.0 / systemDpi_; }
    void endProgram() override;

    // Runs the message loop until the last window is gone or the program is ended.
    int run();

    // Used by the windows.
    HINSTANCE instance() const { return instance_; }
    HWND hiddenOwner() const { return owner_.get(); }
    int systemDpi() const { return systemDpi_; }
    // The forms' font with characters of this height in pixels, made once per height.
    HFONT font(int characterHeight);
    // An icon resource at a size in pixels, loaded once per size.
    HICON icon(int resourceId, int size);
    HCURSOR handCursor();
    bool ending() const { return ending_; }
    UINT taskbarCreatedMessage() const { return taskbarCreated_; }
    void windowCreated(FormWindow* window);
    void windowDestroyed(FormWindow* window);
    bool isAlive(const FormWindow* window) const;

private:
    HINSTANCE instance_;
    int systemDpi_;
    ScopedWindow owner_;   // hidden owner of windows that have no taskbar button
    std::map<int, ScopedFont> fonts_;   // by character height
    std::map<std::pair<int, int>, ScopedIcon> icons_;
    ScopedCursor hand_;
    std::set<const FormWindow*> windows_;
    bool ending_ = false;
    UINT taskbarCreated_ = 0;
};

}  // namespace tarvesk
