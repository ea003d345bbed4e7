#include "win32/Win32FormHost.h"

#include "resource_ids.h"
#include "win32/FormWindow.h"
#include "win32/SystemFallbacks.h"

namespace tarvesk {

Win32FormHost::Win32FormHost(HINSTANCE instance) : instance_(instance) {
    InitCommonControlsForForms();
    if (HDC screen = GetDC(nullptr)) {
        dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    if (dpiX_ <= 0) dpiX_ = 96;
    if (dpiY_ <= 0) dpiY_ = 96;
    // The forms' default font, the one their layout was designed with: MS Sans Serif 8 pt.
    // Falls back to the stock GUI font where it is missing.
    font_ = CreateFontA(-MulDiv(8, dpiY_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
    ownsFont_ = font_ != nullptr;
    if (!font_) font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    FormWindow::registerClass(instance);
    owner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32FormHost::~Win32FormHost() {
    if (owner_) DestroyWindow(owner_);
    for (auto& [key, icon] : icons_)
        if (icon) DestroyIcon(icon);
    if (hand_) DestroyCursor(hand_);
    if (ownsFont_) DeleteObject(font_);
}

std::unique_ptr<forms::FormView> Win32FormHost::createView(forms::Form& form) {
    return std::make_unique<FormWindow>(*this, form);
}

void Win32FormHost::endProgram() {
    ending_ = true;
    PostQuitMessage(0);
}

HICON Win32FormHost::icon(int resourceId, int size) {
    auto key = std::make_pair(resourceId, size);
    auto it = icons_.find(key);
    if (it != icons_.end()) return it->second;
    auto icon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                              size, size, LR_DEFAULTCOLOR));
    icons_[key] = icon;
    return icon;
}

HCURSOR Win32FormHost::handCursor() {
    if (!hand_) {
        hand_ = static_cast<HCURSOR>(LoadImageA(instance_, MAKEINTRESOURCEA(IDC_HAND), IMAGE_CURSOR,
                                                0, 0, LR_DEFAULTSIZE));
        if (!hand_) return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // the system hand
    }
    return hand_;
}

void Win32FormHost::windowCreated(FormWindow* window) { windows_.insert(window); }

void Win32FormHost::windowDestroyed(FormWindow* window) {
    windows_.erase(window);
    // The program ends when its last window is gone.
    if (windows_.empty() && !ending_) PostQuitMessage(0);
}

bool Win32FormHost::isAlive(const FormWindow* window) const {
    return windows_.count(const_cast<FormWindow*>(window)) != 0;
}

int Win32FormHost::run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND root = RootWindow(msg.hwnd);
        bool formWindow = false;
        for (FormWindow* window : windows_)
            if (window->hwnd() == root) formWindow = true;
        // Tab, Enter, Esc and access keys work as in a dialog.
        if (formWindow && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ending_ = true;
    return static_cast<int>(msg.wParam);
}

}  // namespace tarvesk
