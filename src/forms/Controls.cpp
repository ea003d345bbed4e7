#include <algorithm>

#include "forms/Form.h"

namespace forms {

namespace {
// Runs an event handler if one is attached.
void raise(const Event& event) {
    if (event) event();
}
}  // namespace

Control::Control(Form& form, Kind kind, std::string name)
    : form_(form), kind_(kind), name_(std::move(name)) {
    if (kind != Kind::MenuItem) form.registerControl(*this);
}

void Control::changed(Property property) { form_.controlChanged(*this, property); }

void Control::setCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) changed(Property::Caption);
}

void Control::setToolTip(std::string toolTip) {
    if (Assign(toolTip_, std::move(toolTip))) changed(Property::ToolTip);
}

void Control::setEnabled(bool enabled) {
    if (Assign(enabled_, enabled)) changed(Property::Enabled);
}

void Control::setVisible(bool visible) {
    if (Assign(visible_, visible)) changed(Property::Visible);
}

CommandButton::CommandButton(Form& form, std::string name)
    : Control(form, Kind::CommandButton, std::move(name)) {
    handPointer = true;
}

void CommandButton::click() { raise(Click); }

void CheckBox::setValue(int value) { assign(value, false); }
void CheckBox::userSetValue(int value) { assign(value, true); }

void CheckBox::assign(int value, bool fromUser) {
    if (!Assign(value_, value != 0 ? 1 : 0)) return;
    if (!fromUser) changed(Property::Value);
    raise(Click);
}

void OptionButton::setValue(bool selected) { assign(selected, false); }
void OptionButton::userSelect() { assign(true, true); }

void OptionButton::assign(bool selected, bool fromUser) {
    if (!Assign(value_, selected)) return;
    if (!fromUser) changed(Property::Value);
    if (selected) {
        for (Control* other : form().controls()) {
            if (other == this || other->kind() != Kind::OptionButton) continue;
            if (other->container != container) continue;
            static_cast<OptionButton*>(other)->setValue(false);
        }
        raise(Click);
    }
}

void TextBox::setText(std::string text) { assign(std::move(text), false); }
void TextBox::userSetText(std::string text) { assign(std::move(text), true); }

void TextBox::assign(std::string text, bool fromUser) {
    if (!Assign(text_, std::move(text))) return;
    if (!fromUser) changed(Property::Text);
    raise(Change);
}

void Slider::setMin(std::int32_t min) {
    if (!Assign(min_, min)) return;
    if (max_ < min_) max_ = min_;
    changed(Property::Range);
    assign(value_, false);
}

void Slider::setMax(std::int32_t max) {
    if (!Assign(max_, max)) return;
    if (min_ > max_) min_ = max_;
    changed(Property::Range);
    assign(value_, false);
}

void Slider::setValue(std::int32_t value) { assign(value, false); }
void Slider::userSetValue(std::int32_t value) { assign(value, true); }

void Slider::assign(std::int32_t value, bool fromUser) {
    if (!Assign(value_, std::clamp(value, min_, max_))) return;
    if (!fromUser) changed(Property::Value);
    raise(Change);
}

void ProgressBar::setMin(float min) {
    if (!Assign(min_, min)) return;
    if (max_ < min_) max_ = min_;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setMax(float max) {
    if (!Assign(max_, max)) return;
    if (min_ > max_) min_ = max_;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setValue(float value) {
    if (Assign(value_, std::clamp(value, min_, max_))) changed(Property::Value);
}

void Timer::setInterval(unsigned ms) {
    if (Assign(interval_, ms)) changed(Property::Interval);
}

void Timer::tick() {
    if (enabled()) raise(Tick);
}

MenuItem::MenuItem(Form& form, std::string name, MenuItem* parent)
    : Control(form, Kind::MenuItem, std::move(name)), parent_(parent) {
    if (parent) parent->items_.push_back(this);
    else form.registerMenu(*this);
}

void MenuItem::setChecked(bool checked) {
    if (Assign(checked_, checked)) changed(Property::Checked);
}

void MenuItem::click() {
    if (enabled() && visible()) raise(Click);
}

}  // namespace forms
