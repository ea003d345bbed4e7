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
    if (caption == caption_) return;
    caption_ = std::move(caption);
    changed(Property::Caption);
}

void Control::setToolTip(std::string toolTip) {
    if (toolTip == toolTip_) return;
    toolTip_ = std::move(toolTip);
    changed(Property::ToolTip);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    changed(Property::Enabled);
}

void Control::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    changed(Property::Visible);
}

CommandButton::CommandButton(Form& form, std::string name)
    : Control(form, Kind::CommandButton, std::move(name)) {
    handPointer = true;
}

void CommandButton::click() { raise(Click); }

void CheckBox::setValue(int value) { assign(value, false); }
void CheckBox::userSetValue(int value) { assign(value, true); }

void CheckBox::assign(int value, bool fromUser) {
    value = value != 0 ? 1 : 0;
    if (value == value_) return;
    value_ = value;
    if (!fromUser) changed(Property::Value);
    raise(Click);
}

void OptionButton::setValue(bool selected) { assign(selected, false); }
void OptionButton::userSelect() { assign(true, true); }

void OptionButton::assign(bool selected, bool fromUser) {
    if (selected == value_) return;
    value_ = selected;
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
    if (text == text_) return;
    text_ = std::move(text);
    if (!fromUser) changed(Property::Text);
    raise(Change);
}

void Slider::setMin(std::int32_t min) {
    if (min == min_) return;
    min_ = min;
    if (max_ < min_) max_ = min_;
    changed(Property::Range);
    assign(value_, false);
}

void Slider::setMax(std::int32_t max) {
    if (max == max_) return;
    max_ = max;
    if (min_ > max_) min_ = max_;
    changed(Property::Range);
    assign(value_, false);
}

void Slider::setValue(std::int32_t value) { assign(value, false); }
void Slider::userSetValue(std::int32_t value) { assign(value, true); }

void Slider::assign(std::int32_t value, bool fromUser) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    if (!fromUser) changed(Property::Value);
    raise(Change);
}

void ProgressBar::setMin(float min) {
    if (min == min_) return;
    min_ = min;
    if (max_ < min_) max_ = min_;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setMax(float max) {
    if (max == max_) return;
    max_ = max;
    if (min_ > max_) min_ = max_;
    value_ = std::clamp(value_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setValue(float value) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    changed(Property::Value);
}

void Timer::setInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    changed(Property::Interval);
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
    if (checked == checked_) return;
    checked_ = checked;
    changed(Property::Checked);
}

void MenuItem::click() {
    if (enabled() && visible()) raise(Click);
}

}  // namespace forms
