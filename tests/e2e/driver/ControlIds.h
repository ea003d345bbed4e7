#pragma once
// The control ids of the programs' windows, for every end-to-end test. The form binder
// numbers a form's controls from 100 on, in the order the form class declares them
// (src/mainwindow/frmMain.h, src/settings/frmSettings.h, src/mainwindow/frmAbout.h), and so
// do these lists; a unit test (control_ids_test) checks every id against those forms.

namespace e2e {

inline constexpr int kFirstControlId = 100;

// The main window.
namespace frmMain {
enum : int { Slider1 = kFirstControlId, Label1, ProgressBar1, cmdOptimize, cmdAbout, cmdTray, labMem, ProgressBar2 };
}

// The Configuration dialog.
namespace frmSettings {
enum : int {
    chkAutomatic = kFirstControlId, chkAutoStart, cmdDone, cmdCancel, framOpt, txtFreeAlarm, txtAlarm,
    Label2, Label1, Frame1, optPer, optMB
};
}

// The About window.
namespace frmAbout {
enum : int { Label1 = kFirstControlId, Label2, Picture1, cmdClose };
}

}  // namespace e2e
