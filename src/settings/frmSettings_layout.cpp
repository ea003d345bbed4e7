// The Configuration dialog as designed.
#include "settings/frmSettings.h"

namespace tarvesk {

frmSettings::frmSettings(Platform& platform, SettingsCopies& copies, std::int64_t totalMB)
    : Form(platform.forms, "frmSettings"), platform_(platform), copies_(copies), totalMB_(totalMB) {
    setCaption("Configuration");
    borderStyle = forms::BorderStyle::FixedSingle;
    bounds = {2295, 1725, 5145, 3645};

    chkAutomatic.setCaption("Optimize automatically when Alarm level is reached");
    chkAutomatic.bounds = {592, 240, 3960, 255};

    chkAutoStart.setCaption("Launch Automatically when Windows Starts");
    chkAutoStart.bounds = {825, 2760, 3495, 255};

    cmdDone.setCaption("&Done");
    cmdDone.setToolTip("Saves changes");
    cmdDone.bounds = {1477, 3120, 1095, 375};
    cmdDone.isDefault = true;

    cmdCancel.setCaption("&Cancel");
    cmdCancel.setToolTip("Discards Changes");
    cmdCancel.bounds = {2572, 3120, 1095, 375};
    cmdCancel.isCancel = true;

    framOpt.setCaption("Automatic Optimization");
    framOpt.bounds = {225, 600, 4695, 975};

    txtFreeAlarm.bounds = {3720, 600, 735, 285};
    txtFreeAlarm.container = &framOpt;

    txtAlarm.bounds = {3720, 240, 735, 285};
    txtAlarm.container = &framOpt;

    Label2.setCaption("RAM to try and free when alarm level is reached:");
    Label2.bounds = {120, 645, 3495, 195};
    Label2.container = &framOpt;

    Label1.setCaption("Alarm Level (in MB):");
    Label1.bounds = {120, 285, 1410, 195};
    Label1.container = &framOpt;

    Frame1.setCaption("System Tray Icon Tool Tip Text");
    Frame1.bounds = {1245, 1680, 2655, 975};

    optPer.setCaption("Percentage of Free RAM");
    optPer.bounds = {240, 240, 2175, 255};
    optPer.container = &Frame1;

    optMB.setCaption("Free RAM in MB");
    optMB.bounds = {240, 600, 2175, 255};
    optMB.container = &Frame1;

    chkAutomatic.Click = [this] { chkAutomatic_Click(); };
    txtAlarm.Change = [this] { txtAlarm_Change(); };
    txtFreeAlarm.Change = [this] { txtFreeAlarm_Change(); };
    cmdDone.Click = [this] { cmdDone_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

frmSettings::~frmSettings() = default;

}  // namespace tarvesk
