#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

// An event handler. Setting a value from code raises the same event as the user's
// action, when the value changes.
using Event = std::function<void()>;

// A caption. Every label wraps its text at its designed width; the binder lets it grow
// downwards when the text needs more lines than its designed height holds, never narrower
// or shorter than designed.
class Label : public Control {
public:
    Label(Form& form, std::string name) : Control(form, Kind::Label, std::move(name)) {}
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name);
    bool isDefault = false;   // Enter presses it
    bool isCancel = false;    // Esc presses it
    Event Click;
    void click();             // the user pressed it
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name) : Control(form, Kind::CheckBox, std::move(name)) {}
    int value() const { return value_; }   // 0 unchecked, 1 checked
    void setValue(int value);              // raises Click when the value changes
    void userSetValue(int value);          // the user changed it on the native control
    Event Click;

private:
    void assign(int value, bool fromUser);
    int value_ = 0;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name)
        : Control(form, Kind::OptionButton, std::move(name)) {}
    bool value() const { return value_; }
    // Selecting an option clears the other options of the same container.
    void setValue(bool selected);
    void userSelect();
    Event Click;

private:
    void assign(bool selected, bool fromUser);
    bool value_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name) : Control(form, Kind::TextBox, std::move(name)) {}
    const std::string& text() const { return text_; }
    void setText(std::string text);        // raises Change when the text changes
    void userSetText(std::string text);    // the user edited the native control
    Event Change;

private:
    void assign(std::string text, bool fromUser);
    std::string text_;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name) : Control(form, Kind::Frame, std::move(name)) {}
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name) : Control(form, Kind::PictureBox, std::move(name)) {}
    int iconId = 0;   // the icon resource shown
};

class Slider : public Control {
public:
    Slider(Form& form, std::string name) : Control(form, Kind::Slider, std::move(name)) {}
    std::int32_t min() const { return min_; }
    std::int32_t max() const { return max_; }
    std::int32_t value() const { return value_; }
    // A value outside the range is brought to the nearest end of the range.
    void setMin(std::int32_t min);
    void setMax(std::int32_t max);
    void setValue(std::int32_t value);     // raises Change when the value changes
    void userSetValue(std::int32_t value);
    std::int32_t largeChange = 5;
    std::int32_t smallChange = 1;
    Event Change;

private:
    void assign(std::int32_t value, bool fromUser);
    std::int32_t min_ = 0;
    std::int32_t max_ = 10;
    std::int32_t value_ = 0;
};

class ProgressBar : public Control {
public:
    ProgressBar(Form& form, std::string name)
        : Control(form, Kind::ProgressBar, std::move(name)) {}
    float min() const { return min_; }
    float max() const { return max_; }
    float value() const { return value_; }
    void setMin(float min);
    void setMax(float max);
    void setValue(float value);   // kept within the range
    bool smooth = false;          // display style: smooth fill rather than segments

private:
    float min_ = 0;
    float max_ = 100;
    float value_ = 0;
};

class Timer : public Control {
public:
    Timer(Form& form, std::string name) : Control(form, Kind::Timer, std::move(name)) {}
    unsigned interval() const { return interval_; }
    void setInterval(unsigned ms);
    // Switched on and off by the enabled flag. A switched-off timer raises nothing; switched
    // on again, its next tick comes a full interval later.
    Event Tick;
    void tick();   // one interval has passed

private:
    unsigned interval_ = 1000;
};

class MenuItem : public Control {
public:
    MenuItem(Form& form, std::string name, MenuItem* parent);
    bool isSeparator() const { return caption() == "-"; }
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    MenuItem* parent() const { return parent_; }
    const std::vector<MenuItem*>& items() const { return items_; }
    Event Click;
    void click();

private:
    MenuItem* parent_;
    std::vector<MenuItem*> items_;
    bool checked_ = false;
};

}  // namespace forms
