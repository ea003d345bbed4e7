#pragma once
#include "forms/Form.h"

namespace tarvesk {

// The About window: the program's picture, its version in the title, and credits.
class frmAbout : public forms::Form {
public:
    explicit frmAbout(forms::FormHost& host);

    // Controls, in tab order: the order of declaration is the tab order.
    forms::Label Label1{*this, "Label1"};
    forms::Label Label2{*this, "Label2"};
    forms::PictureBox Picture1{*this, "Picture1"};
    forms::CommandButton cmdClose{*this, "cmdClose"};

    void Form_Load() override;
    void cmdClose_Click();
};

}  // namespace tarvesk
