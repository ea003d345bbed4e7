#include "win32/Win32FormHost.h"

#include "resource_ids.h"
#include "win32/Dpi.h"
#include "win32/FormWindow.h"
#include "win32/SystemFallbacks.h"

namespace tarvesk {

namespace {

constexpr const char* kDesignFace = "MS Sans Serif";
constexpr const char* kDialogFace = "MS Shell Dlg";   // the system's TrueType dialog font

HFONT createFont(const char* face, int characterHeight) {
    return CreateFontA(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

// Whether the system made the font of that face with characters of that height: a bitmap
// font has a few sizes only, and the font mapper gives the nearest smaller one.
bool madeAsAsked(HFONT font, const char* face, int characterHeight) {
    WindowDC screen(nullptr);
    if (!screen) return false;
    SelectedObject selected(screen.get(), font);
    char made[LF_FACESIZE] = {};
    TEXTMETRICA metrics{};
    if (!GetTextFaceA(screen.get(), LF_FACESIZE, made) || !GetTextMetricsA(screen.get(), &metrics))
        return false;
    return lstrcmpiA(made, face) == 0 &&
           metrics.tmHeight - metrics.tmInternalLeading >= characterHeight - 1;
}

}  // namespace

Win32FormHost::Win32FormHost(HINSTANCE instance) : instance_(instance) {
    dpi::BecomeAware();
    systemDpi_ = dpi::ForSystem();
    InitCommonControlsForForms();
    FormWindow::registerClass(instance);
    owner_.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                 nullptr));
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

Win32FormHost::~Win32FormHost() = default;

std::unique_ptr<forms::FormView> Win32FormHost::createView(forms::Form& form) {
    return std::make_unique<FormWindow>(*this, form);
}

void Win32FormHost::endProgram() {
    ending_ = true;
    PostQuitMessage(0);
}

HFONT Win32FormHost::font(int characterHeight) {
    auto found = fonts_.find(characterHeight);
    if (found == fonts_.end()) {
        // The forms were designed with MS Sans Serif. That is a bitmap font with a few sizes
        // only (at 200 % none is large enough); at other sizes the system's TrueType dialog
        // font, drawn at any size, takes its place.
        ScopedFont font(createFont(kDesignFace, characterHeight));
        if (!font || !madeAsAsked(font.get(), kDesignFace, characterHeight))
            font.reset(createFont(kDialogFace, characterHeight));
        found = fonts_.emplace(characterHeight, std::move(font)).first;
    }
    if (found->second) return found->second.get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HICON Win32FormHost::icon(int resourceId, int size) {
    auto key = std::make_pair(resourceId, size);
    auto found = icons_.find(key);
    if (found == icons_.end()) {
        // A missing resource is remembered too, so it is not looked for again.
        ScopedIcon icon(static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(resourceId),
                                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        found = icons_.emplace(key, std::move(icon)).first;
    }
    return found->second.get();
}

HCURSOR Win32FormHost::handCursor() {
    if (!hand_) {
        hand_.reset(static_cast<HCURSOR>(LoadImageA(instance_, MAKEINTRESOURCEA(IDC_HAND),
                                                    IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
        if (!hand_) return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // the system hand
    }
    return hand_.get();
}

void Win32FormHost::windowCreated(FormWindow* window) { windows_.insert(window); }

void Win32FormHost::windowDestroyed(FormWindow* window) {
    windows_.erase(window);
    // The program ends when its last window is gone.
    if (windows_.empty() && !ending_) PostQuitMessage(0);
}

bool Win32FormHost::isAlive(const FormWindow* window) const { return windows_.count(window) != 0; }

int Win32FormHost::run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND root = RootWindow(msg.hwnd);
        bool formWindow = false;
        for (const FormWindow* window : windows_)
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
