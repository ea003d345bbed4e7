// The main window as designed: frame, controls, captions, tooltips and menus. The tab
// order is the order of the controls in frmMain.h.
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "resource_ids.h"
#include "settings/frmSettings.h"

namespace tarvesk {

using forms::Twips;

frmMain::frmMain(Platform& platform, modMain& shared)
    : Form(platform.forms, "frmMain"), platform_(platform), shared_(shared) {
    setCaption("Tarvesk");
    borderStyle = forms::BorderStyle::FixedSingle;
    minButton = true;
    maxButton = false;
    showInTaskbar = true;
    bounds = {2700, 2220, 4260, 2820};
    setIcon(IDI_PROGRAM);

    Slider1.bounds = {143, 480, 3975, 375};
    Slider1.setMin(0);
    Slider1.setMax(10);
    Slider1.largeChange = 5;
    Slider1.smallChange = 1;
    Slider1.handPointer = true;

    Label1.setCaption("Amount of RAM to Free(in MB) when Optimize is clicked");
    Label1.bounds = {143, 120, 3975, 255};

    ProgressBar1.setToolTip("% Memory Free");
    ProgressBar1.bounds = {143, 1200, 3975, 255};
    ProgressBar1.smooth = true;

    cmdOptimize.setCaption("&Optimize");
    cmdOptimize.setToolTip("Optimizes Memory");
    cmdOptimize.bounds = {323, 2040, 1215, 375};

    cmdAbout.setCaption("&About");
    cmdAbout.setToolTip("About Tarvesk");
    cmdAbout.bounds = {1523, 2040, 1215, 375};

    cmdTray.setCaption("&Send To Tray");
    cmdTray.setToolTip("Sends Tarvesk to the System Tray");
    cmdTray.bounds = {2723, 2040, 1215, 375};

    labMem.setCaption("99% of 128 MB Free");
    labMem.bounds = {1410, 1560, 1440, 195};

    ProgressBar2.bounds = {323, 2520, 3615, 195};

    Timer1.setInterval(1000);

    file.setCaption("&File");
    openmain.setCaption("Open &Main Window");
    autooptimize.setCaption("&Enable Automatic RAM Optimization");
    optimize.setCaption("&Optimize");
    filed0.setCaption("-");
    shutdown.setCaption("Shut Down Windows");
    reboot.setCaption("&Reboot Windows");
    logoff.setCaption("&Log Off Windows");
    filed1.setCaption("-");
    fileabout.setCaption("&About");
    filed2.setCaption("-");
    exit.setCaption("&Exit");
    settings.setCaption("&Settings");
    config.setCaption("&Configuration");
    settingsd1.setCaption("-");
    tray.setCaption("&Send To Tray");
    help.setCaption("&Help");
    contents.setCaption("&Contents");
    helpd1.setCaption("-");
    helpabout.setCaption("&About");

    // Events.
    Slider1.Change = [this] { Slider1_Change(); };
    cmdOptimize.Click = [this] { cmdOptimize_Click(); };
    cmdAbout.Click = [this] { cmdAbout_Click(); };
    cmdTray.Click = [this] { cmdTray_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    openmain.Click = [this] { openmain_Click(); };
    autooptimize.Click = [this] { autooptimize_Click(); };
    optimize.Click = [this] { optimize_Click(); };
    shutdown.Click = [this] { shutdown_Click(); };
    reboot.Click = [this] { reboot_Click(); };
    logoff.Click = [this] { logoff_Click(); };
    fileabout.Click = [this] { fileabout_Click(); };
    exit.Click = [this] { exit_Click(); };
    config.Click = [this] { config_Click(); };
    tray.Click = [this] { tray_Click(); };
    contents.Click = [this] { contents_Click(); };
    helpabout.Click = [this] { helpabout_Click(); };
}

frmMain::~frmMain() = default;

}  // namespace tarvesk
