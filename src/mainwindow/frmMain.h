#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "forms/Form.h"
#include "mainwindow/modMain.h"
#include "platform/Platform.h"

namespace tarvesk {

class frmAbout;
class frmSettings;

// The main window: memory readouts, the optimizer's controls, the menus, and the tray.
class frmMain : public forms::Form {
public:
    frmMain(Platform& platform, modMain& shared);
    ~frmMain() override;

    // Controls, in tab order: the order of declaration is the tab order.
    forms::Slider Slider1{*this, "Slider1"};
    forms::Label Label1{*this, "Label1"};
    forms::ProgressBar ProgressBar1{*this, "ProgressBar1"};
    forms::CommandButton cmdOptimize{*this, "cmdOptimize"};
    forms::CommandButton cmdAbout{*this, "cmdAbout"};
    forms::CommandButton cmdTray{*this, "cmdTray"};
    forms::Label labMem{*this, "labMem"};
    forms::ProgressBar ProgressBar2{*this, "ProgressBar2"};
    forms::Timer Timer1{*this, "Timer1"};

    // Menu bar.
    forms::MenuItem file{*this, "file", nullptr};
    forms::MenuItem openmain{*this, "openmain", &file};
    forms::MenuItem autooptimize{*this, "autooptimize", &file};
    forms::MenuItem optimize{*this, "optimize", &file};
    forms::MenuItem filed0{*this, "filed0", &file};
    forms::MenuItem shutdown{*this, "shutdown", &file};
    forms::MenuItem reboot{*this, "reboot", &file};
    forms::MenuItem logoff{*this, "logoff", &file};
    forms::MenuItem filed1{*this, "filed1", &file};
    forms::MenuItem fileabout{*this, "fileabout", &file};
    forms::MenuItem filed2{*this, "filed2", &file};
    forms::MenuItem exit{*this, "exit", &file};
    forms::MenuItem settings{*this, "settings", nullptr};
    forms::MenuItem config{*this, "config", &settings};
    forms::MenuItem settingsd1{*this, "settingsd1", &settings};
    forms::MenuItem tray{*this, "tray", &settings};
    forms::MenuItem help{*this, "help", nullptr};
    forms::MenuItem contents{*this, "contents", &help};
    forms::MenuItem helpd1{*this, "helpd1", &help};
    forms::MenuItem helpabout{*this, "helpabout", &help};

    // Start-up, and the end of the window (closed, or the session ends).
    void Form_Load() override;
    void Form_Unload() override;

    // Memory readouts.
    void InitMemoryTotals();
    void UpdateMemoryReadouts();

    // Optimizer.
    void cmdOptimize_Click();
    void optimize_Click();
    void Slider1_Change();
    void OptimizeRam(std::int64_t bytes);

    // The one-second tick and automatic optimization.
    void Timer1_Timer();
    void autooptimize_Click();

    // Tray icon and tray mode.
    void UpdateTrayIcon();
    void tray_Click();
    void cmdTray_Click();
    void openmain_Click();
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_TaskbarCreated() override;
    bool inTrayMode() const { return openmain.visible(); }

    // Commands.
    void cmdAbout_Click();
    void fileabout_Click();
    void helpabout_Click();
    void config_Click();
    void contents_Click();
    void exit_Click();
    void logoff_Click();
    void reboot_Click();
    void shutdown_Click();

    // The secondary windows, created on first use (null until then).
    frmAbout* aboutWindow() const { return about_.get(); }
    frmSettings* settingsDialog() const { return settings_.get(); }

private:
    void showTrayItems(bool shown);
    void leaveTrayMode();
    void sendTrayIcon(TrayCommand command, int iconResourceId, const std::string& tip);
    void sendTrayRecord(TrayCommand command);
    void showAbout();

    Platform& platform_;
    modMain& shared_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<frmSettings> settings_;
    // The record the shell last took for the icon; empty while it shows none of ours, or
    // when it refused the last command.
    std::optional<TrayIconRecord> trayShown_;
};

}  // namespace tarvesk
