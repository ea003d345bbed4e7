#include "win32/FormWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "win32/Dpi.h"
#include "win32/Win32FormHost.h"

namespace tarvesk {

using forms::Control;
using forms::Kind;
using forms::Property;

namespace {

constexpr UINT kDpiChanged = 0x02E0;         // WM_DPICHANGED
constexpr UINT kGetDpiScaledSize = 0x02E4;   // WM_GETDPISCALEDSIZE
constexpr int kToolTipWidth = 400;           // widest tooltip line at 96 DPI, in pixels
constexpr int kPictureIconSize = 32;         // a picture box's icon at 96 DPI, in pixels
constexpr int kFontPoints = 8;               // the design's font size
constexpr int kDesignLineTwips = 195;        // a line of the design's font (13 px at 96 DPI)
// What a control draws beside its caption, at 96 DPI, in pixels: a button's edges, a check
// box's box and the gap after it, a frame's indent on both sides of its caption.
constexpr int kButtonMargins = 8;
constexpr int kCheckBoxMark = 17;
constexpr int kFrameMargins = 16;

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

// Sets a window's text unless it already shows that text.
void setWindowText(HWND hwnd, const std::string& text) {
    if (windowText(hwnd) != text) SetWindowTextA(hwnd, text.c_str());
}

int progressPosition(float value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 2147483647.0f) return 2147483647;
    if (value <= -2147483647.0f) return -2147483647;
    return static_cast<int>(std::lround(value));
}

template <typename T>
std::optional<std::size_t> indexOf(const std::vector<T*>& items, const T* item) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == item) return i;
    return std::nullopt;
}

// The tooltip windows' procedure, in front of the common controls' own (kept in the
// window's user data). A disabled control gets no mouse input: the system passes the
// pointer through to the window beneath, the form. Before showing a tip the tooltip asks
// which window is under the pointer (TTM_WINDOWFROMPOINT); the answer here is the control
// itself, enabled or not, so a disabled control's tip shows too.
LRESULT CALLBACK ToolTipProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (msg == TTM_WINDOWFROMPOINT && lParam) {
        POINT point = *reinterpret_cast<const POINT*>(lParam);
        HWND under = WindowFromPoint(point);
        if (under && ScreenToClient(under, &point)) {
            if (HWND child = ChildWindowFromPointEx(under, point, CWP_SKIPINVISIBLE)) under = child;
        }
        return reinterpret_cast<LRESULT>(under);
    }
    if (!original) return DefWindowProcA(window, msg, wParam, lParam);
    return CallWindowProcA(original, window, msg, wParam, lParam);
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

FormWindow::FormWindow(Win32FormHost& host, forms::Form& form)
    : host_(host), form_(form), dpi_(host.systemDpi()) {
    // The monitor the window opens on decides its DPI.
    dpi_ = dpi::ForRect(windowRect(dpi_));
    RECT r = windowRect(dpi_);
    HWND owner = form.showInTaskbar ? nullptr : host.hiddenOwner();
    window_.reset(CreateWindowExA(windowExStyle(form), kClassName, form.caption().c_str(),
                                  windowStyle(form), r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, owner, nullptr, host.instance(), this));
    host_.windowCreated(this);
    if (!window_) return;
    fontHeight_ = fittingFontHeight();
    if (!form.menuBar().empty()) rebuildMenus();
    createToolTips();
    createControls();
    formChanged(Property::Icon);
    // Placed on another monitor than the one its place was on (the system may move it).
    if (int actual = dpi::ForWindow(window_.get()); actual != dpi_) layOut(actual, nullptr);
}

FormWindow::~FormWindow() {
    host_.windowDestroyed(this);
    if (HWND hwnd = window_.get()) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        SetMenu(hwnd, nullptr);   // the menu bar has its own owner
    }
    // Then the tooltips, the window with its controls, and the menus go, in that order.
}

RECT FormWindow::windowRect(int atDpi) const {
    const forms::Twips& b = form_.bounds;
    int left = dpi::TwipsToPixels(b.left, atDpi);
    int top = dpi::TwipsToPixels(b.top, atDpi);
    RECT r{left, top, left + dpi::TwipsToPixels(b.width, atDpi), top + dpi::TwipsToPixels(b.height, atDpi)};
    dpi::AdjustWindowRect(r, windowStyle(form_), !form_.menuBar().empty(), windowExStyle(form_), atDpi);
    return r;
}

RECT FormWindow::pixelRect(const Control& control) const {
    int left = control.bounds.left;
    int top = control.bounds.top;
    for (const Control* c = control.container; c; c = c->container) {
        left += c->bounds.left;
        top += c->bounds.top;
    }
    int x = dpi::TwipsToPixels(left, dpi_);
    int y = dpi::TwipsToPixels(top, dpi_);
    return RECT{x, y, x + dpi::TwipsToPixels(control.bounds.width, dpi_),
                y + dpi::TwipsToPixels(control.bounds.height, dpi_)};
}

HFONT FormWindow::font() const { return host_.font(fontHeight_); }

int FormWindow::fittingFontHeight() const {
    // The design's 8 points at this DPI, unless the font the system has for that size
    // writes some caption wider than its control (a substitute for the design's font
    // with wider letters): then the largest smaller size at which every caption fits.
    int nominal = MulDiv(kFontPoints, dpi_, 72);
    for (int height = nominal; height > nominal * 3 / 4; --height)
        if (captionsFit(host_.font(height))) return height;
    return nominal;
}

bool FormWindow::captionsFit(HFONT font) const {
    WindowDC screen(nullptr);
    if (!screen) return true;
    SelectedObject selected(screen.get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.get(), &metrics);
    auto scaled = [&](int pixels) { return MulDiv(pixels, dpi_, dpi::kStandard); };
    for (const Control* control : form_.controls()) {
        if (control->caption().empty()) continue;
        RECT r = pixelRect(*control);
        int width = r.right - r.left;
        int height = r.bottom - r.top;
        UINT format = DT_CALCRECT | DT_SINGLELINE;
        switch (control->kind()) {
        case Kind::Label:
            // A label's text wraps at its width into no more lines than its designed
            // height holds in the design's font.
            format = DT_CALCRECT | DT_WORDBREAK;
            height = std::max(1, control->bounds.height / kDesignLineTwips) * metrics.tmHeight;
            break;
        case Kind::CommandButton: width -= scaled(kButtonMargins); break;
        case Kind::CheckBox:
        case Kind::OptionButton: width -= scaled(kCheckBoxMark); break;
        case Kind::Frame: width -= scaled(kFrameMargins); break;
        default: continue;
        }
        RECT text{0, 0, std::max(width, 1), 0};
        DrawTextA(screen.get(), control->caption().c_str(), -1, &text, format);
        if (text.right - text.left > width || text.bottom - text.top > height) return false;
    }
    return true;
}

void FormWindow::createToolTips() {
    toolTips_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.get(),
                                    nullptr, host_.instance(), nullptr));
    if (!toolTips_) return;
    HWND tips = toolTips_.get();
    SetWindowLongPtrA(tips, GWLP_USERDATA, GetWindowLongPtrA(tips, GWLP_WNDPROC));
    SetWindowLongPtrA(tips, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolTipProc));
    SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, MulDiv(kToolTipWidth, dpi_, dpi::kStandard));
}

void FormWindow::createControls() {
    const auto& controls = form_.controls();
    for (size_t i = 0; i < controls.size(); ++i) {
        Control& control = *controls[i];
        int id = kFirstControlId + static_cast<int>(i);
        if (control.kind() == Kind::Timer) {
            if (control.enabled()) {
                SetTimer(window_.get(), static_cast<UINT_PTR>(id),
                         static_cast<forms::Timer&>(control).interval(), nullptr);
            }
            continue;
        }
        HWND child = createControl(control, id);
        if (!child) continue;
        native_[&control] = child;
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
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
                                 r.bottom - r.top, window_.get(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 host_.instance(), nullptr);
    if (!child) return nullptr;
    if (control.kind() == Kind::TextBox) {
        // Any length: without this the user could type no more than about 32 K characters.
        SendMessageA(child, EM_SETLIMITTEXT, 0, 0);
    } else if (control.kind() == Kind::PictureBox) {
        int size = MulDiv(kPictureIconSize, dpi_, dpi::kStandard);
        int iconId = static_cast<forms::PictureBox&>(control).iconId;
        SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(host_.icon(iconId, size)), 0);
    }
    return child;
}

void FormWindow::layOut(int newDpi, const RECT* suggested) {
    dpi_ = newDpi;
    fontHeight_ = fittingFontHeight();
    HWND hwnd = window_.get();
    // The window keeps its design size at the new DPI; it goes where the system suggests.
    RECT r = windowRect(newDpi);
    int left = suggested ? suggested->left : r.left;
    int top = suggested ? suggested->top : r.top;
    SetWindowPos(hwnd, nullptr, left, top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT newFont = font();
    for (const auto& [control, child] : native_) {
        RECT c = pixelRect(*control);
        SetWindowPos(child, nullptr, c.left, c.top, c.right - c.left, c.bottom - c.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), TRUE);
        if (control->kind() == Kind::PictureBox) {
            int size = MulDiv(kPictureIconSize, newDpi, dpi::kStandard);
            int iconId = static_cast<const forms::PictureBox*>(control)->iconId;
            SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(host_.icon(iconId, size)), 0);
        } else if (control->kind() == Kind::ProgressBar) {
            lastFill_[control] = fillPixel(*static_cast<const forms::ProgressBar*>(control));
        }
    }
    for (Control* control : form_.controls()) sizeLabel(*control);
    if (toolTips_)
        SendMessageA(toolTips_.get(), TTM_SETMAXTIPWIDTH, 0, MulDiv(kToolTipWidth, newDpi, dpi::kStandard));
    formChanged(Property::Icon);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void FormWindow::controlChanged(Control& control, Property property) {
    if (control.kind() == Kind::MenuItem) {
        auto& item = static_cast<forms::MenuItem&>(control);
        if (property == Property::Checked) {
            CheckMenuItem(menuBar_.get(), menuId(item),
                          MF_BYCOMMAND | (item.checked() ? MF_CHECKED : MF_UNCHECKED));
        } else {
            rebuildMenus();
        }
        return;
    }
    if (control.kind() == Kind::Timer) {
        auto id = static_cast<UINT_PTR>(controlId(control));
        auto& timer = static_cast<forms::Timer&>(control);
        // Enabling (re)starts a full interval; disabling stops the ticks.
        if (timer.enabled()) SetTimer(window_.get(), id, timer.interval(), nullptr);
        else KillTimer(window_.get(), id);
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
        if (control.kind() != Kind::TextBox && windowText(child) != control.caption()) {
            SetWindowTextA(child, control.caption().c_str());
            sizeLabel(control);
        }
        break;
    case Property::Text:
        if (control.kind() == Kind::TextBox)
            setWindowText(child, static_cast<forms::TextBox&>(control).text());
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
    case Property::Visible: {
        bool shown = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != control.visible()) ShowWindow(child, control.visible() ? SW_SHOWNA : SW_HIDE);
        break;
    }
    case Property::Range:
        if (control.kind() == Kind::Slider) {
            auto& slider = static_cast<forms::Slider&>(control);
            if (SendMessageA(child, TBM_GETRANGEMIN, 0, 0) != slider.min())
                SendMessageA(child, TBM_SETRANGEMIN, FALSE, slider.min());
            if (SendMessageA(child, TBM_GETRANGEMAX, 0, 0) != slider.max())
                SendMessageA(child, TBM_SETRANGEMAX, TRUE, slider.max());
            if (SendMessageA(child, TBM_GETPAGESIZE, 0, 0) != slider.largeChange)
                SendMessageA(child, TBM_SETPAGESIZE, 0, slider.largeChange);
            if (SendMessageA(child, TBM_GETLINESIZE, 0, 0) != slider.smallChange)
                SendMessageA(child, TBM_SETLINESIZE, 0, slider.smallChange);
            pushValue(control, child);
        } else if (control.kind() == Kind::ProgressBar) {
            auto& bar = static_cast<forms::ProgressBar&>(control);
            int low = progressPosition(bar.min());
            int high = progressPosition(bar.max());
            if (SendMessageA(child, PBM_GETRANGE, TRUE, 0) != low ||
                SendMessageA(child, PBM_GETRANGE, FALSE, 0) != high)
                SendMessageA(child, PBM_SETRANGE32, low, high);
            pushProgress(bar, child, true);
        }
        break;
    case Property::Value:
        pushValue(control, child);
        break;
    case Property::Checked:
    case Property::Interval:
    case Property::Icon:
        break;
    }
}

void FormWindow::pushValue(Control& control, HWND child) {
    bool checked = false;
    switch (control.kind()) {
    case Kind::Slider: {
        LRESULT position = static_cast<forms::Slider&>(control).value();
        if (SendMessageA(child, TBM_GETPOS, 0, 0) != position)
            SendMessageA(child, TBM_SETPOS, TRUE, position);
        return;
    }
    case Kind::ProgressBar:
        pushProgress(static_cast<forms::ProgressBar&>(control), child, false);
        return;
    case Kind::CheckBox:
        checked = static_cast<forms::CheckBox&>(control).value() != 0;
        break;
    case Kind::OptionButton:
        checked = static_cast<forms::OptionButton&>(control).value();
        break;
    default:
        return;
    }
    LRESULT state = checked ? BST_CHECKED : BST_UNCHECKED;
    if (SendMessageA(child, BM_GETCHECK, 0, 0) != state) SendMessageA(child, BM_SETCHECK, state, 0);
}

void FormWindow::pushProgress(forms::ProgressBar& bar, HWND child, bool always) {
    // Each drawn step costs a repaint: only values that move the fill by a pixel are sent,
    // and the two ends always are.
    int pixel = fillPixel(bar);
    int& last = lastFill_[&bar];
    bool atEnd = bar.value() == bar.min() || bar.value() == bar.max();
    if (!always && !atEnd && pixel == last) return;
    last = pixel;
    int position = progressPosition(bar.value());
    if (SendMessageA(child, PBM_GETPOS, 0, 0) != position) SendMessageA(child, PBM_SETPOS, position, 0);
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
    if ((IsWindowEnabled(it->second) != FALSE) != enabled) EnableWindow(it->second, enabled ? TRUE : FALSE);
}

void FormWindow::sizeLabel(Control& control) {
    // A label wraps its text at its designed width and grows downwards when the text needs
    // more lines than its designed height holds; it is never smaller than designed.
    if (control.kind() != Kind::Label) return;
    auto it = native_.find(&control);
    if (it == native_.end()) return;
    RECT r = pixelRect(control);
    int width = r.right - r.left;
    RECT text{0, 0, width, 0};
    {
        WindowDC dc(it->second);
        if (!dc) return;
        SelectedObject selected(dc.get(), font());
        DrawTextA(dc.get(), control.caption().c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK);
    }
    int height = std::max<int>(r.bottom - r.top, text.bottom - text.top);
    RECT now{};
    GetWindowRect(it->second, &now);
    if (now.right - now.left != width || now.bottom - now.top != height)
        SetWindowPos(it->second, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setToolTip(Control& control) {
    auto it = native_.find(&control);
    if (!toolTips_ || it == native_.end()) return;
    TOOLINFOA info{};
    // The first record layout, which every version of the common controls takes: the full
    // record the headers declare is version 6's, which older versions turn away.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window_.get();
    info.uId = reinterpret_cast<UINT_PTR>(it->second);
    std::string text = control.toolTip();
    info.lpszText = text.data();
    HWND tips = toolTips_.get();
    TOOLINFOA probe = info;
    probe.lpszText = nullptr;
    if (SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0) > 0 &&
        SendMessageA(tips, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&probe)))
        SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    else
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void FormWindow::relayToToolTip(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The hidden main window's "mouse moves" are the tray icon's notifications.
    if (!toolTips_ || !IsWindowVisible(hwnd)) return;
    MSG relayed{hwnd, msg, wParam, lParam, 0, {}};
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HWND child = ChildWindowFromPointEx(hwnd, point, CWP_SKIPINVISIBLE);
    if (child && child != hwnd && !IsWindowEnabled(child)) {
        // The mouse input of a disabled control comes to the form; the tooltip hears it as
        // the control's own.
        MapWindowPoints(hwnd, child, &point, 1);
        relayed.hwnd = child;
        relayed.lParam = MAKELPARAM(point.x, point.y);
    }
    SendMessageA(toolTips_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void FormWindow::rebuildMenus() {
    menuItems_.clear();
    popups_.clear();
    ScopedMenu bar(CreateMenu());
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
        ScopedMenu popup(CreatePopupMenu());
        if (!popup) continue;
        fillMenu(popup.get(), *top);
        UINT flags = MF_POPUP | MF_STRING | (top->enabled() ? 0 : MF_GRAYED);
        if (!AppendMenuA(bar.get(), flags, reinterpret_cast<UINT_PTR>(popup.get()),
                         top->caption().c_str()))
            continue;
        popups_[top] = popup.release();   // the bar owns it now
    }
    HWND hwnd = window_.get();
    SetMenu(hwnd, bar.get());
    menuBar_ = std::move(bar);   // the old bar, no longer the window's, goes
    DrawMenuBar(hwnd);
}

void FormWindow::fillMenu(HMENU menu, const forms::MenuItem& parent) {
    for (forms::MenuItem* item : parent.items()) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->enabled() ? 0 : MF_GRAYED) |
                     (item->checked() ? MF_CHECKED : 0);
        AppendMenuA(menu, flags, menuId(*item), item->caption().c_str());
    }
}

void FormWindow::formChanged(Property property) {
    HWND hwnd = window_.get();
    if (!hwnd) return;
    if (property == Property::Caption) {
        setWindowText(hwnd, form_.caption());
    } else if (property == Property::Icon) {
        int id = form_.icon();
        HICON big = id ? host_.icon(id, dpi::SystemMetric(SM_CXICON, dpi_)) : nullptr;
        HICON small = id ? host_.icon(id, dpi::SystemMetric(SM_CXSMICON, dpi_)) : nullptr;
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
}

void FormWindow::show() {
    HWND hwnd = window_.get();
    if (!hwnd) return;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    else ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
}

void FormWindow::hide() {
    if (HWND hwnd = window_.get()) ShowWindow(hwnd, SW_HIDE);
}

void FormWindow::popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) {
    auto found = popups_.find(&menu);
    if (found == popups_.end()) return;
    HMENU popup = found->second;
    SetMenuDefaultItem(popup, defaultItem ? menuId(*defaultItem) : static_cast<UINT>(-1), FALSE);
    POINT pt{};
    GetCursorPos(&pt);
    // In front first, so that a click elsewhere closes the menu; the null message
    // afterwards lets a second pop-up open at once.
    HWND self = window_.get();
    SetForegroundWindow(self);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, self, nullptr);
    PostMessageA(self, WM_NULL, 0, 0);
    // While the menu is open its loop runs this thread's other messages: a tick that shows
    // or hides menu items rebuilds the menus, destroying this pop-up, and a handler may
    // unload the form, destroying this object. So from here on only the locals are used, and
    // the pop-up, which is also the menu bar's drop-down, loses its default item only if it
    // still exists.
    if (IsMenu(popup)) SetMenuDefaultItem(popup, static_cast<UINT>(-1), FALSE);
}

Control* FormWindow::controlById(int id) const {
    int index = id - kFirstControlId;
    const auto& controls = form_.controls();
    if (index < 0 || static_cast<size_t>(index) >= controls.size()) return nullptr;
    return controls[static_cast<size_t>(index)];
}

int FormWindow::controlId(const Control& control) const {
    auto index = indexOf(form_.controls(), &control);
    return index ? kFirstControlId + static_cast<int>(*index) : 0;
}

UINT FormWindow::menuId(const forms::MenuItem& item) const {
    auto index = indexOf(menuItems_, &item);
    return index ? kFirstMenuId + static_cast<UINT>(*index) : static_cast<UINT>(-1);
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

void FormWindow::onScroll(HWND controlWindow, int code) {
    // A drag of the thumb is one change, made when the thumb is let go (TB_THUMBPOSITION,
    // then TB_ENDTRACK); the places it passes on the way are not changes of the value.
    if (code == TB_THUMBTRACK) return;
    Control* control = controlById(GetDlgCtrlID(controlWindow));
    if (!control || control->kind() != Kind::Slider) return;
    auto it = native_.find(control);
    if (it == native_.end() || it->second != controlWindow) return;
    auto* slider = static_cast<forms::Slider*>(control);
    auto position = static_cast<std::int32_t>(SendMessageA(controlWindow, TBM_GETPOS, 0, 0));
    Win32FormHost& host = host_;
    FormWindow* self = this;
    slider->userSetValue(position);
    if (host.isAlive(self) && slider->value() != position) pushControl(*slider, Property::Value);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window || window->host_.ending()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // No exception ever leaves a window procedure.
    try {
        return window->handle(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT FormWindow::handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A handler may unload this form, destroying this object: nothing below touches a
    // member after calling into the model.
    switch (msg) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) onScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_TIMER: {
        Control* control = controlById(static_cast<int>(wParam));
        if (control && control->kind() == Kind::Timer) static_cast<forms::Timer*>(control)->tick();
        return 0;
    }
    case WM_MOUSEMOVE: {
        relayToToolTip(hwnd, msg, wParam, lParam);
        int button = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) |
                     ((wParam & MK_MBUTTON) ? 4 : 0);
        int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0);
        // The screen's twips per pixel that the form reads back (FormHost::twipsPerPixelX).
        auto x = static_cast<float>(GET_X_LPARAM(lParam) * host_.twipsPerPixelX());
        auto y = static_cast<float>(GET_Y_LPARAM(lParam) * host_.twipsPerPixelY());
        form_.Form_MouseMove(button, shift, x, y);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        relayToToolTip(hwnd, msg, wParam, lParam);
        break;
    case WM_SETCURSOR: {
        auto child = reinterpret_cast<HWND>(wParam);
        if (LOWORD(lParam) == HTCLIENT && child != hwnd && GetParent(child) == hwnd) {
            Control* control = controlById(GetDlgCtrlID(child));
            if (control && control->handPointer) {
                SetCursor(host_.handCursor());
                return TRUE;
            }
        }
        break;
    }
    case DM_GETDEFID:
        if (forms::CommandButton* button = buttonWithRole(true))
            return MAKELRESULT(controlId(*button), DC_HASDEFID);
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
    case kGetDpiScaledSize: {
        // Moving to a monitor of another DPI: the window's size there is the design's.
        RECT r = windowRect(LOWORD(wParam));
        auto* size = reinterpret_cast<SIZE*>(lParam);
        size->cx = r.right - r.left;
        size->cy = r.bottom - r.top;
        return TRUE;
    }
    case kDpiChanged:
        layOut(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        form_.unload();
        return 0;
    case WM_ENDSESSION:
        // The session ends and the program with it: the form unloads as it does when closed.
        if (wParam) form_.unload();
        return 0;
    case WM_NCDESTROY:
        // Destroyed from outside (never by this object, which lets go of the window first):
        // the window took its tooltips and menu bar with it.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window_.release();
        toolTips_.release();
        menuBar_.release();
        popups_.clear();
        native_.clear();
        break;
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
