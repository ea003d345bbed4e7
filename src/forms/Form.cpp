#include "forms/Form.h"

namespace forms {

Form::Form(FormHost& host, std::string name) : host_(host), name_(std::move(name)) {}

Form::~Form() = default;

void Form::setCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) formChanged(Property::Caption);
}

void Form::setIcon(int resourceId) {
    if (Assign(icon_, resourceId)) formChanged(Property::Icon);
}

void Form::load() {
    if (view_) return;
    view_ = host_.createView(*this);
    Form_Load();
}

void Form::show() {
    if (!view_) load();
    if (!view_) return;   // the load handler unloaded the form
    visible_ = true;
    view_->show();
}

void Form::hide() {
    visible_ = false;
    if (view_) view_->hide();
}

void Form::unload() {
    if (!view_) return;
    Form_Unload();
    visible_ = false;
    // Destroying the view destroys the native window; the model object stays, so a
    // handler of this form that called unload() returns safely.
    auto view = std::move(view_);
    view.reset();
}

void Form::popupMenu(MenuItem& menu, MenuItem* defaultItem) {
    if (view_) view_->popupMenu(menu, defaultItem);
}

std::uintptr_t Form::hWnd() const { return view_ ? view_->handle() : 0; }

void Form::Form_MouseMove(int, int, float, float) {}

void Form::controlChanged(Control& control, Property property) {
    if (view_) view_->controlChanged(control, property);
}

void Form::formChanged(Property property) {
    if (view_) view_->formChanged(property);
}

void Form::registerControl(Control& control) { controls_.push_back(&control); }

void Form::registerMenu(MenuItem& item) { menuBar_.push_back(&item); }

}  // namespace forms
