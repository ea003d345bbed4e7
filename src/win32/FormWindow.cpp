#include "win32/FormWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "win32/Win32FormHost.h"

namespace tarvesk {

using forms::Control;
using forms::Kind;
using forms::Property;

namespace {

DWORD windowStyle(const forms::Form& form) {
    // No WS_CLIPCHILDREN: frames are transparent inside and the form paints beneath them.
    DWORD style = WS_CAPTION | WS_SYSMENU;
    style |= form.borderStyle == forms::BorderStyle::FixedDialog ? WS_POPUP : WS_OVERLAPPED;
    if (form.minButton) style |= WS_MINIMIZEBOX;
    if (form.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD windowExStyle(const forms::Form& form) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (form.borderStyle == forms::BorderStyle::FixedDialog) ex |= WS_EX_DLGMODALFRAME;
    if (form.showInTaskbar) ex |= WS_EX_APPWINDOW;
    return ex;
}

std::string windowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int progressPosition(float value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 2147483647.0f) return 2147483647;
    if (value <= -2147483647.0f) return -2147483647;
    return static_cast<int>(std::lround(value));
}

}  // namespace

void FormWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FormWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
}

FormWindow::FormWindow(Win32FormHost& host, forms::Form& form) : host_(host), form_(form) {
    DWORD style = windowStyle(form);
    DWORD ex = windowExStyle(form);
    bool hasMenu = !form.menuBar().empty();
    RECT r{host.toPixelsX(form.bounds.left), host.toPixelsY(form.bounds.top),
           host.toPixelsX(form.bounds.left + form.bounds.width),
           host.toPixelsY(form.bounds.top + form.bounds.height)};
    AdjustWindowRectEx(&r, style, hasMenu ? TRUE : FALSE, ex);
    HWND owner = form.showInTaskbar ? nullptr : host.hiddenOwner();
    hwnd_ = CreateWindowExA(ex, kClassName, form.caption().c_str(), style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, owner, nullptr, host.instance(),
                            this);
    host_.windowCreated(this);
    if (!hwnd_) return;
    toolTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                host.instance(), nullptr);
    if (toolTips_) SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, 400);
    if (hasMenu) rebuildMenus();
    createControls();
    formChanged(Property::Icon);
}

FormWindow::~FormWindow() {
    host_.windowDestroyed(this);
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);   // destroys the controls, the tooltips and the menu bar
    }
}

void FormWindow::createControls() {
    const auto& controls = form_.controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        Control& control = *controls[i];
        int id = kFirstControlId + static_cast<int>(i);
        if (control.kind() == Kind::Timer) {
            if (control.enabled()) {
                SetTimer(hwnd_, static_cast<UINT_PTR>(id),
                         static_cast<forms::Timer&>(control).interval(), nullptr);
            }
            continue;
        }
        HWND child = createControl(control, id);
        if (!child) continue;
        native_[&control] = child;
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(host_.font()), FALSE);
        pushControl(control, Property::Range);
        pushControl(control, Property::Value);
        pushControl(control, Property::Text);
        if (!control.toolTip().empty()) setToolTip(control);
        sizeLabel(control);
        applyEnabled(control);
    }
    // Frames lie beneath the controls they hold. Frames are no tab stops, so moving them
    // to the bottom leaves the tab order as designed.
    for (const auto& [control, child] : native_)
        if (control->kind() == Kind::Frame)
            SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

RECT FormWindow::pixelRect(const Control& control) const {
    int left = control.bounds.left;
    int top = control.bounds.top;
    for (const Control* c = control.container; c; c = c->container) {
        left += c->bounds.left;
        top += c->bounds.top;
    }
    return RECT{host_.toPixelsX(left), host_.toPixelsY(top),
                host_.toPixelsX(left + control.bounds.width),
                host_.toPixelsY(top + control.bounds.height)};
}

HWND FormWindow::createControl(Control& control, int id) {
    const char* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::string text = control.caption();
    switch (control.kind()) {
    case Kind::Label:
        cls = "STATIC";
        style |= SS_LEFT;
        break;
    case Kind::CommandButton:
        cls = "BUTTON";
        style |= WS_TABSTOP |
                 (static_cast<forms::CommandButton&>(control).isDefault ? BS_DEFPUSHBUTTON
                                                                         : BS_PUSHBUTTON);
        break;
    case Kind::CheckBox:
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_CHECKBOX;
        break;
    case Kind::OptionButton: {
        cls = "BUTTON";
        style |= WS_TABSTOP | BS_RADIOBUTTON;
        bool first = true;   // the first option of its container starts a group
        for (Control* other : form_.controls()) {
            if (other == &control) break;
            if (other->kind() == Kind::OptionButton && other->container == control.container)
                first = false;
        }
        if (first) style |= WS_GROUP;
        break;
    }
    case Kind::TextBox:
        cls = "EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
        ex |= WS_EX_CLIENTEDGE;
        text = static_cast<forms::TextBox&>(control).text();
        break;
    case Kind::Frame:
        cls = "BUTTON";
        style |= BS_GROUPBOX;
        break;
    case Kind::PictureBox:
        cls = "STATIC";
        style |= SS_ICON | SS_CENTERIMAGE;
        text.clear();
        break;
    case Kind::Slider:
        cls = TRACKBAR_CLASSA;
        style |= WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_NOTICKS;
        break;
    case Kind::ProgressBar:
        cls = PROGRESS_CLASSA;
        if (static_cast<forms::ProgressBar&>(control).smooth) style |= PBS_SMOOTH;
        break;
    case Kind::Timer:
    case Kind::MenuItem:
        return nullptr;
    }
    if (control.visible()) style |= WS_VISIBLE;
    RECT r = pixelRect(control);
    HWND child = CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 host_.instance(), nullptr);
    if (child && control.kind() == Kind::PictureBox) {
        int iconId = static_cast<forms::PictureBox&>(control).iconId;
        // 480 twips: 32 px at 96 DPI; at 120, 144 and 192 DPI the images drawn for 40, 48, 64 px.
        HICON icon = host_.icon(iconId, host_.toPixelsX(480));
        SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    return child;
}

void FormWindow::controlChanged(Control& control, Property property) {
    if (control.kind() == Kind::MenuItem) {
        auto& item = static_cast<forms::MenuItem&>(control);
        if (property == Property::Checked) {
            for (size_t i = 0; i < menuItems_.size(); ++i) {
                if (menuItems_[i] != &item) continue;
                CheckMenuItem(menuBar_, kFirstMenuId + static_cast<UINT>(i),
                              MF_BYCOMMAND | (item.checked() ? MF_CHECKED : MF_UNCHECKED));
            }
        } else {
            rebuildMenus();
        }
        return;
    }
    if (control.kind() == Kind::Timer) {
        const auto& controls = form_.controls();
        for (size_t i = 0; i < controls.size(); ++i) {
            if (controls[i] != &control) continue;
            auto id = static_cast<UINT_PTR>(kFirstControlId + static_cast<int>(i));
            auto& timer = static_cast<forms::Timer&>(control);
            // Enabling (re)starts a full interval; disabling stops the ticks.
            if (timer.enabled()) SetTimer(hwnd_, id, timer.interval(), nullptr);
            else KillTimer(hwnd_, id);
        }
        return;
    }
    pushControl(control, property);
}

void FormWindow::pushControl(Control& control, Property property) {
    auto it = native_.find(&control);
    if (it == native_.end()) return;
    HWND child = it->second;
    switch (property) {
    case Property::Caption:
        if (control.kind() != Kind::TextBox) {
            SetWindowTextA(child, control.caption().c_str());
            sizeLabel(control);
        }
        break;
    case Property::Text:
        if (control.kind() == Kind::TextBox) {
            const auto& text = static_cast<forms::TextBox&>(control).text();
            if (windowText(child) != text) SetWindowTextA(child, text.c_str());
        }
        break;
    case Property::ToolTip:
        setToolTip(control);
        break;
    case Property::Enabled:
        applyEnabled(control);
        if (control.kind() == Kind::Frame) {
            for (Control* inner : form_.controls())
                if (inner->container == &control) applyEnabled(*inner);
        }
        break;
    case Property::Visible:
        ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case Property::Range:
        if (control.kind() == Kind::Slider) {
            auto& slider = static_cast<forms::Slider&>(control);
            SendMessageA(child, TBM_SETRANGEMIN, FALSE, slider.min());
            SendMessageA(child, TBM_SETRANGEMAX, FALSE, slider.max());
            SendMessageA(child, TBM_SETPAGESIZE, 0, slider.largeChange);
            SendMessageA(child, TBM_SETLINESIZE, 0, slider.smallChange);
            SendMessageA(child, TBM_SETPOS, TRUE, slider.value());
        } else if (control.kind() == Kind::ProgressBar) {
            auto& bar = static_cast<forms::ProgressBar&>(control);
            SendMessageA(child, PBM_SETRANGE32, progressPosition(bar.min()),
                         progressPosition(bar.max()));
            SendMessageA(child, PBM_SETPOS, progressPosition(bar.value()), 0);
            lastFill_[&control] = fillPixel(bar);
        }
        break;
    case Property::Value:
        switch (control.kind()) {
        case Kind::Slider:
            SendMessageA(child, TBM_SETPOS, TRUE, static_cast<forms::Slider&>(control).value());
            break;
        case Kind::ProgressBar: {
            // Each drawn step costs a repaint: only values that move the fill by a pixel
            // are sent, and the two ends always are.
            auto& bar = static_cast<forms::ProgressBar&>(control);
            int pixel = fillPixel(bar);
            auto& last = lastFill_[&control];
            if (bar.value() != bar.min() && bar.value() != bar.max() && pixel == last) break;
            last = pixel;
            SendMessageA(child, PBM_SETPOS, progressPosition(bar.value()), 0);
            break;
        }
        case Kind::CheckBox:
            SendMessageA(child, BM_SETCHECK,
                         static_cast<forms::CheckBox&>(control).value() ? BST_CHECKED
                                                                         : BST_UNCHECKED, 0);
            break;
        case Kind::OptionButton:
            SendMessageA(child, BM_SETCHECK,
                         static_cast<forms::OptionButton&>(control).value() ? BST_CHECKED
                                                                             : BST_UNCHECKED, 0);
            break;
        default:
            break;
        }
        break;
    case Property::Checked:
    case Property::Interval:
    case Property::Icon:
        break;
    }
}

int FormWindow::fillPixel(const forms::ProgressBar& bar) const {
    RECT r = pixelRect(bar);
    double span = static_cast<double>(bar.max()) - bar.min();
    if (!(span > 0)) return 0;
    double share = (static_cast<double>(bar.value()) - bar.min()) / span;
    return static_cast<int>(share * (r.right - r.left));
}

void FormWindow::applyEnabled(Control& control) {
    auto it = native_.find(&control);
    if (it == native_.end()) return;
    bool enabled = control.enabled();
    for (const Control* c = control.container; c; c = c->container) enabled = enabled && c->enabled();
    EnableWindow(it->second, enabled ? TRUE : FALSE);
}

void FormWindow::sizeLabel(Control& control) {
    // Labels grow downwards when their text needs more lines than designed (a wider
    // default font than the design's can wrap a fixed label); they never shrink.
    if (control.kind() != Kind::Label) return;
    auto it = native_.find(&control);
    if (it == native_.end()) return;
    RECT r = pixelRect(control);
    RECT text{0, 0, r.right - r.left, 0};
    HDC dc = GetDC(it->second);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, host_.font());
    DrawTextA(dc, control.caption().c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(it->second, dc);
    // Grows downwards to fit the text, never narrower or shorter than designed.
    int height = std::max<int>(r.bottom - r.top, text.bottom - text.top);
    SetWindowPos(it->second, nullptr, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setToolTip(Control& control) {
    auto it = native_.find(&control);
    if (!toolTips_ || it == native_.end()) return;
    TOOLINFOA info{};
    // The first record layout, which every version of the common controls takes: the full
    // record the headers declare is version 6's, which older versions turn away.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(it->second);
    std::string text = control.toolTip();
    info.lpszText = text.data();
    if (SendMessageA(toolTips_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
        TOOLINFOA probe = info;
        probe.lpszText = nullptr;
        if (SendMessageA(toolTips_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&probe))) {
            SendMessageA(toolTips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
            return;
        }
    }
    SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void FormWindow::rebuildMenus() {
    HMENU old = menuBar_;
    menuItems_.clear();
    popups_.clear();
    menuBar_ = CreateMenu();
    // Command ids follow the items' order in the tree, visible or not, so an id always
    // names the same item.
    std::vector<forms::MenuItem*> pending(form_.menuBar().rbegin(), form_.menuBar().rend());
    while (!pending.empty()) {
        forms::MenuItem* item = pending.back();
        pending.pop_back();
        menuItems_.push_back(item);
        for (auto child = item->items().rbegin(); child != item->items().rend(); ++child)
            pending.push_back(*child);
    }
    for (forms::MenuItem* top : form_.menuBar()) {
        if (!top->visible()) continue;
        HMENU popup = CreatePopupMenu();
        fillMenu(popup, *top);
        UINT flags = MF_POPUP | MF_STRING | (top->enabled() ? 0 : MF_GRAYED);
        AppendMenuA(menuBar_, flags, reinterpret_cast<UINT_PTR>(popup), top->caption().c_str());
        for (size_t i = 0; i < menuItems_.size(); ++i)
            if (menuItems_[i] == top) popups_[static_cast<int>(i)] = popup;
    }
    SetMenu(hwnd_, menuBar_);
    if (old) DestroyMenu(old);
    DrawMenuBar(hwnd_);
}

void FormWindow::fillMenu(HMENU menu, const forms::MenuItem& parent) {
    for (forms::MenuItem* item : parent.items()) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT id = 0;
        for (size_t i = 0; i < menuItems_.size(); ++i)
            if (menuItems_[i] == item) id = kFirstMenuId + static_cast<UINT>(i);
        UINT flags = MF_STRING | (item->enabled() ? 0 : MF_GRAYED) |
                     (item->checked() ? MF_CHECKED : 0);
        AppendMenuA(menu, flags, id, item->caption().c_str());
    }
}

void FormWindow::formChanged(Property property) {
    if (!hwnd_) return;
    if (property == Property::Caption) {
        SetWindowTextA(hwnd_, form_.caption().c_str());
    } else if (property == Property::Icon) {
        HICON big = form_.icon() ? host_.icon(form_.icon(), GetSystemMetrics(SM_CXICON)) : nullptr;
        HICON small = form_.icon() ? host_.icon(form_.icon(), GetSystemMetrics(SM_CXSMICON)) : nullptr;
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

void FormWindow::show() {
    if (!hwnd_) return;
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    else ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void FormWindow::hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) {
    HMENU popup = nullptr;
    for (const auto& [index, handle] : popups_)
        if (menuItems_[static_cast<size_t>(index)] == &menu) popup = handle;
    if (!popup) return;
    UINT defaultId = static_cast<UINT>(-1);
    for (size_t i = 0; i < menuItems_.size(); ++i)
        if (menuItems_[i] == defaultItem) defaultId = kFirstMenuId + static_cast<UINT>(i);
    SetMenuDefaultItem(popup, defaultId, FALSE);
    POINT pt{};
    GetCursorPos(&pt);
    // In front first, so that a click elsewhere closes the menu; the null message
    // afterwards lets a second pop-up open at once.
    SetForegroundWindow(hwnd_);
    HWND self = hwnd_;
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, self, nullptr);
    PostMessageA(self, WM_NULL, 0, 0);
    if (IsMenu(popup)) SetMenuDefaultItem(popup, static_cast<UINT>(-1), FALSE);
}

Control* FormWindow::controlById(int id) const {
    int index = id - kFirstControlId;
    const auto& controls = form_.controls();
    if (index < 0 || static_cast<size_t>(index) >= controls.size()) return nullptr;
    return controls[static_cast<size_t>(index)];
}

forms::CommandButton* FormWindow::buttonWithRole(bool defaultRole) const {
    for (Control* control : form_.controls()) {
        if (control->kind() != Kind::CommandButton) continue;
        auto* button = static_cast<forms::CommandButton*>(control);
        if (defaultRole ? button->isDefault : button->isCancel) return button;
    }
    return nullptr;
}

void FormWindow::onCommand(int id, int code, HWND controlWindow) {
    if (!controlWindow) {
        if (id >= kFirstMenuId && static_cast<size_t>(id - kFirstMenuId) < menuItems_.size()) {
            menuItems_[static_cast<size_t>(id - kFirstMenuId)]->click();
            return;
        }
    }
    // Enter and Esc arrive from the message loop's dialog handling as IDOK and IDCANCEL.
    if (id == IDOK || id == IDCANCEL) {
        forms::CommandButton* button = buttonWithRole(id == IDOK);
        if (button && button->enabled() && button->visible()) button->click();
        return;
    }
    Control* control = controlById(id);
    if (!control) return;
    Win32FormHost& host = host_;
    FormWindow* self = this;
    switch (control->kind()) {
    case Kind::CommandButton:
        if (code == BN_CLICKED) static_cast<forms::CommandButton*>(control)->click();
        break;
    case Kind::CheckBox:
        if (code == BN_CLICKED) {
            auto* box = static_cast<forms::CheckBox*>(control);
            box->userSetValue(box->value() ? 0 : 1);
            if (host.isAlive(self)) pushControl(*box, Property::Value);
        }
        break;
    case Kind::OptionButton:
        if (code == BN_CLICKED) {
            auto* option = static_cast<forms::OptionButton*>(control);
            option->userSelect();
            if (host.isAlive(self)) pushControl(*option, Property::Value);
        }
        break;
    case Kind::TextBox:
        if (code == EN_CHANGE) {
            auto* box = static_cast<forms::TextBox*>(control);
            std::string text = windowText(controlWindow);
            if (text != box->text()) box->userSetText(std::move(text));
        }
        break;
    default:
        break;
    }
}

void FormWindow::onScroll(HWND controlWindow) {
    for (auto& [control, child] : native_) {
        if (child != controlWindow || control->kind() != Kind::Slider) continue;
        auto* slider = const_cast<forms::Slider*>(static_cast<const forms::Slider*>(control));
        auto position = static_cast<std::int32_t>(SendMessageA(child, TBM_GETPOS, 0, 0));
        Win32FormHost& host = host_;
        FormWindow* self = this;
        slider->userSetValue(position);
        if (host.isAlive(self) && slider->value() != position) pushControl(*slider, Property::Value);
        return;
    }
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* window = static_cast<FormWindow*>(create->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window || window->host_.ending()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // No exception ever leaves a window procedure.
    try {
        return window->handle(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT FormWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A handler may unload this form, destroying this object: nothing below touches a
    // member after calling into the model.
    HWND hwnd = hwnd_;
    switch (msg) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) onScroll(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER: {
        Control* control = controlById(static_cast<int>(wParam));
        if (control && control->kind() == Kind::Timer) static_cast<forms::Timer*>(control)->tick();
        return 0;
    }
    case WM_MOUSEMOVE: {
        int button = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                     ((wParam & MK_MBUTTON) ? 4 : 0);
        int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0);
        auto x = static_cast<float>(GET_X_LPARAM(lParam) * host_.twipsPerPixelX());
        auto y = static_cast<float>(GET_Y_LPARAM(lParam) * host_.twipsPerPixelY());
        form_.Form_MouseMove(button, shift, x, y);
        return 0;
    }
    case WM_SETCURSOR: {
        auto child = reinterpret_cast<HWND>(wParam);
        for (const auto& [control, native] : native_) {
            if (native == child && control->handPointer && LOWORD(lParam) == HTCLIENT) {
                SetCursor(host_.handCursor());
                return TRUE;
            }
        }
        break;
    }
    case DM_GETDEFID:
        for (size_t i = 0; i < form_.controls().size(); ++i) {
            Control* control = form_.controls()[i];
            if (control->kind() == Kind::CommandButton &&
                static_cast<forms::CommandButton*>(control)->isDefault)
                return MAKELRESULT(kFirstControlId + static_cast<int>(i), DC_HASDEFID);
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // As a dialog does: the focus goes back where it was when the window is active
            // again (after a message box, the user types on in the same box).
            HWND focus = GetFocus();
            if (IsChild(hwnd, focus)) lastFocus_ = focus;
        } else if (!IsChild(hwnd, GetFocus())) {
            HWND target = lastFocus_;
            if (!target || !IsChild(hwnd, target) || !IsWindowVisible(target) ||
                !IsWindowEnabled(target))
                target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
            if (target) SetFocus(target);
        }
        return 0;
    case WM_CLOSE:
        form_.unload();
        return 0;
    default:
        if (msg == host_.taskbarCreatedMessage() && msg != 0) {
            form_.Form_TaskbarCreated();
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace tarvesk
