#pragma once
#include <cstdint>
#include <string>
#include <utility>

namespace forms {

class Form;

// Puts `value` into `field` and says whether that changed it. A view hears of a change, and
// an event is raised, only when the value really changed: every setter of the model goes
// through here.
template <class T>
bool Assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

// A position and size in twips (1440 to the inch; 15 twips a pixel at 96 DPI),
// relative to the client area of the window or the inside of the containing frame.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class Kind {
    Label, CommandButton, CheckBox, OptionButton, TextBox, Frame,
    PictureBox, Slider, ProgressBar, Timer, MenuItem
};

// What changed on a control or a form; a view pushes exactly that to its native window.
enum class Property {
    Caption, Text, ToolTip, Enabled, Visible, Value, Range, Checked, Interval, Icon
};

// A named control of a form, with the properties every kind shares. The control holds
// the state; a view attached to the form mirrors every change made from code.
class Control {
public:
    Control(Form& form, Kind kind, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);

    // Design-time layout: position, container (a frame) and mouse pointer. The tab order
    // is the order in which a form declares its controls: each control registers with its
    // form when it is constructed, and the binder creates the native controls in that order.
    Twips bounds;
    Control* container = nullptr;
    bool handPointer = false;

protected:
    void changed(Property property);

private:
    Form& form_;
    Kind kind_;
    std::string name_;
    std::string caption_;
    std::string toolTip_;
    bool enabled_ = true;
    bool visible_ = true;
};

}  // namespace forms
