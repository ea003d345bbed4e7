#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/Control.h"
#include "forms/Controls.h"

namespace forms {

enum class BorderStyle { FixedSingle, FixedDialog };

// The native side of a loaded form. A view mirrors every change the model reports and
// turns native notifications into the model's events.
class FormView {
public:
    virtual ~FormView() = default;   // destroys the native window
    virtual void controlChanged(Control& control, Property property) = 0;
    virtual void formChanged(Property property) = 0;   // Caption or Icon
    virtual void show() = 0;                           // display and bring forward
    virtual void hide() = 0;
    virtual void popupMenu(MenuItem& menu, MenuItem* defaultItem) = 0;
    virtual std::uintptr_t handle() const = 0;
};

// The windowing toolkit: makes native windows for forms and knows the screen.
class FormHost {
public:
    virtual ~FormHost() = default;
    // Creates the form's native window and controls, not yet shown.
    virtual std::unique_ptr<FormView> createView(Form& form) = 0;
    virtual double twipsPerPixelX() const = 0;
    // Ends the program at once: no further event of any window runs.
    virtual void endProgram() = 0;
};

// A window built from its design-time description (set by the derived class's
// constructor) and holding its named controls.
class Form {
public:
    Form(FormHost& host, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Design-time description of the window itself.
    const std::string& name() const { return name_; }
    BorderStyle borderStyle = BorderStyle::FixedSingle;
    bool minButton = false;
    bool maxButton = false;
    bool showInTaskbar = false;
    Twips bounds;   // client area on the screen, in twips

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    int icon() const { return icon_; }   // icon resource id, 0 = none
    void setIcon(int resourceId);

    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<MenuItem*>& menuBar() const { return menuBar_; }

    // Lifecycle: load creates the native window and runs Form_Load; show displays it
    // (loading first when needed) and brings it forward; unload destroys the window.
    void load();
    void show();
    void hide();
    void unload();
    bool loaded() const { return view_ != nullptr; }
    bool visible() const { return visible_; }

    // Shows a top-level menu as a pop-up menu at the pointer.
    void popupMenu(MenuItem& menu, MenuItem* defaultItem);
    std::uintptr_t hWnd() const;
    FormHost& host() const { return host_; }

    // Events.
    virtual void Form_Load() {}
    // Raised by unload(), however the window goes away: its close box, a WM_CLOSE sent from
    // outside, or the end of the session, which the binder turns into an unload as well.
    virtual void Form_Unload() {}
    virtual void Form_MouseMove(int button, int shift, float x, float y);
    // The shell's notification area was created anew (the shell restarted).
    virtual void Form_TaskbarCreated() {}

    // Called by controls when their state changed from code.
    void controlChanged(Control& control, Property property);
    void registerControl(Control& control);
    void registerMenu(MenuItem& item);

private:
    void formChanged(Property property);

    FormHost& host_;
    std::string name_;
    std::string caption_;
    int icon_ = 0;
    bool visible_ = false;
    std::vector<Control*> controls_;
    std::vector<MenuItem*> menuBar_;
    std::unique_ptr<FormView> view_;
};

}  // namespace forms
