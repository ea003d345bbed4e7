#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <set>

#include "forms/Form.h"

namespace tarvesk {

class FormWindow;

// The Windows toolkit behind the form model: creates a native window for each loaded
// form, owns the icons and the cursor it loaded, and runs the message loop.
class Win32FormHost : public forms::FormHost {
public:
    explicit Win32FormHost(HINSTANCE instance);
    ~Win32FormHost() override;
    Win32FormHost(const Win32FormHost&) = delete;
    Win32FormHost& operator=(const Win32FormHost&) = delete;

    std::unique_ptr<forms::FormView> createView(forms::Form& form) override;
    double twipsPerPixelX() const override { return 1440.0 / dpiX_; }
    void endProgram() override;

    // Runs the message loop until the last window is gone or the program is ended.
    int run();

    // Used by the windows.
    HINSTANCE instance() const { return instance_; }
    HWND hiddenOwner() const { return owner_; }
    int toPixelsX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int toPixelsY(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    double twipsPerPixelY() const { return 1440.0 / dpiY_; }
    HICON icon(int resourceId, int size);
    HCURSOR handCursor();
    HFONT font() const { return font_; }
    bool ending() const { return ending_; }
    UINT taskbarCreatedMessage() const { return taskbarCreated_; }
    void windowCreated(FormWindow* window);
    void windowDestroyed(FormWindow* window);
    bool isAlive(const FormWindow* window) const;

private:
    HINSTANCE instance_;
    int dpiX_ = 96;
    int dpiY_ = 96;
    HWND owner_ = nullptr;      // hidden owner of windows that have no taskbar button
    HFONT font_ = nullptr;
    bool ownsFont_ = false;
    HCURSOR hand_ = nullptr;
    std::map<std::pair<int, int>, HICON> icons_;
    std::set<FormWindow*> windows_;
    bool ending_ = false;
    UINT taskbarCreated_ = 0;
};

}  // namespace tarvesk
