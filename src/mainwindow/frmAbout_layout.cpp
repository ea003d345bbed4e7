// The About window as designed.
#include "mainwindow/frmAbout.h"
#include "resource_ids.h"

namespace tarvesk {

frmAbout::frmAbout(forms::FormHost& host) : Form(host, "frmAbout") {
    setCaption("About Tarvesk");
    borderStyle = forms::BorderStyle::FixedDialog;
    bounds = {2700, 2730, 4305, 2070};

    Label1.setCaption("Tarvesk memory meter, by the Tarvesk developers.");
    Label1.bounds = {1200, 240, 2715, 435};

    Label2.setCaption("Thanks to all who tried Tarvesk and helped make it better.");
    Label2.bounds = {465, 960, 3375, 435};

    Picture1.iconId = IDI_PROGRAM;
    Picture1.bounds = {360, 240, 615, 495};

    cmdClose.setCaption("&Close");
    cmdClose.setToolTip("Closes this Screen");
    cmdClose.bounds = {1605, 1560, 1095, 375};
    cmdClose.isDefault = true;
    cmdClose.isCancel = true;

    cmdClose.Click = [this] { cmdClose_Click(); };
}

}  // namespace tarvesk
