#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "forms/Form.h"
#include "win32/ScopedHandles.h"

namespace tarvesk {

class Win32FormHost;

// The native window of one loaded form. It mirrors every change the model reports and
// turns native notifications into the model's events. Changes that came from a native
// control are not pushed back to it, and a value the control already shows is not sent
// again.
//
// The window is laid out at the DPI of its monitor, and again, fonts included, when that
// DPI changes (WM_DPICHANGED).
class FormWindow : public forms::FormView {
public:
    static constexpr const char* kClassName = "TarveskForm";
    static constexpr int kFirstControlId = 100;   // control id = kFirstControlId + index
    static constexpr int kFirstMenuId = 1000;     // command id = kFirstMenuId + index in the tree

    FormWindow(Win32FormHost& host, forms::Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void controlChanged(forms::Control& control, forms::Property property) override;
    void formChanged(forms::Property property) override;
    void show() override;
    void hide() override;
    void popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) override;
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd()); }

    HWND hwnd() const { return window_.get(); }
    int dpi() const { return dpi_; }
    static void registerClass(HINSTANCE instance);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    void createToolTips();
    void createControls();
    HWND createControl(forms::Control& control, int id);
    void layOut(int newDpi, const RECT* suggested);
    void pushControl(forms::Control& control, forms::Property property);
    void pushValue(forms::Control& control, HWND child);
    void pushProgress(forms::ProgressBar& bar, HWND child, bool always);
    void applyEnabled(forms::Control& control);
    void sizeLabel(forms::Control& control);
    void setToolTip(forms::Control& control);
    void relayToToolTip(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void rebuildMenus();
    void fillMenu(HMENU menu, const forms::MenuItem& parent);
    void onCommand(int id, int code, HWND control);
    void onScroll(HWND control, int code);
    forms::Control* controlById(int id) const;
    int controlId(const forms::Control& control) const;
    UINT menuId(const forms::MenuItem& item) const;
    forms::CommandButton* buttonWithRole(bool defaultRole) const;
    RECT windowRect(int atDpi) const;
    RECT pixelRect(const forms::Control& control) const;
    int fillPixel(const forms::ProgressBar& bar) const;
    int fittingFontHeight() const;
    bool captionsFit(HFONT font) const;
    HFONT font() const;

    Win32FormHost& host_;
    forms::Form& form_;
    int dpi_;
    int fontHeight_ = 0;        // characters' height in pixels of the font at dpi_
    ScopedMenu menuBar_;        // detached from the window before the window goes
    ScopedWindow window_;
    ScopedWindow toolTips_;     // destroyed before the window that owns it
    HWND lastFocus_ = nullptr;  // the control that had the focus when the window was left
    // The controls' windows are children of window_ and go with it.
    std::map<const forms::Control*, HWND> native_;
    std::map<const forms::Control*, int> lastFill_;   // progress bars: pixel of the fill last drawn
    std::vector<forms::MenuItem*> menuItems_;          // every item of the tree, in command-id order
    std::map<const forms::MenuItem*, HMENU> popups_;   // a shown top-level menu -> its drop-down
};

}  // namespace tarvesk
