#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "forms/Form.h"

namespace tarvesk {

class Win32FormHost;

// The native window of one loaded form. It mirrors every change the model reports and
// turns native notifications into the model's events. Changes that came from a native
// control are not pushed back to it.
class FormWindow : public forms::FormView {
public:
    static constexpr const char* kClassName = "TarveskForm";
    static constexpr int kFirstControlId = 100;
    static constexpr int kFirstMenuId = 1000;

    FormWindow(Win32FormHost& host, forms::Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void controlChanged(forms::Control& control, forms::Property property) override;
    void formChanged(forms::Property property) override;
    void show() override;
    void hide() override;
    void popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) override;
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    static void registerClass(HINSTANCE instance);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

    void createControls();
    HWND createControl(forms::Control& control, int id);
    void pushControl(forms::Control& control, forms::Property property);
    void applyEnabled(forms::Control& control);
    void sizeLabel(forms::Control& control);
    void setToolTip(forms::Control& control);
    void rebuildMenus();
    void fillMenu(HMENU menu, const forms::MenuItem& parent);
    void onCommand(int id, int code, HWND control);
    void onScroll(HWND control);
    forms::Control* controlById(int id) const;
    forms::CommandButton* buttonWithRole(bool defaultRole) const;
    RECT pixelRect(const forms::Control& control) const;
    int fillPixel(const forms::ProgressBar& bar) const;

    Win32FormHost& host_;
    forms::Form& form_;
    HWND hwnd_ = nullptr;
    HWND toolTips_ = nullptr;
    HMENU menuBar_ = nullptr;
    HWND lastFocus_ = nullptr;   // the control that had the focus when the window was left
    std::map<const forms::Control*, HWND> native_;
    std::map<const forms::Control*, int> lastFill_;   // progress bars: pixel of the fill last drawn
    std::vector<forms::MenuItem*> menuItems_;   // command id = kFirstMenuId + index
    std::map<int, HMENU> popups_;               // top-level menu index -> its drop-down
};

}  // namespace tarvesk
