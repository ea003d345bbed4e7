// The start-up agent run as Windows runs it at log-on, from a folder whose name has blanks,
// registered machine-wide or for the user alone.
#include "ControlIds.h"
#include "Driver.h"
#include "ToolTips.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

class AgentTest : public ProgramTest {
protected:
    const std::string folder = "C:\\Program Files\\Tarvesk Test";
    // What Windows would run for the unquoted "C:\Program Files\Tarvesk Test\Tarvesk.exe"
    // (the first blank ends the program's name, ".exe" is added): a small program that
    // is not Tarvesk.
    const std::string decoy = "C:\\Program Files\\Tarvesk.exe";
    std::string installedMain() const { return JoinPath(folder, "Tarvesk.exe"); }
    std::string installedAgent() const { return JoinPath(folder, "TarveskA.exe"); }

    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(MakeFolders(folder));
        ASSERT_TRUE(CopyFileA(MainProgram().c_str(), installedMain().c_str(), FALSE))
            << MainProgram();
        ASSERT_TRUE(CopyFileA(Agent().c_str(), installedAgent().c_str(), FALSE)) << Agent();
        ASSERT_TRUE(CopyFileA("C:\\windows\\system32\\hostname.exe", decoy.c_str(), FALSE));
    }
    void TearDown() override {
        ProgramTest::TearDown();
        DeleteFileA(installedMain().c_str());
        DeleteFileA(installedAgent().c_str());
        DeleteFileA(decoy.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // The one main program running, started by someone else than the test.
    DWORD WaitForMainProgram() {
        DWORD id = 0;
        WaitUntil([&] {
            auto ids = ProcessesNamed("Tarvesk.exe");
            if (ids.size() != 1) return false;
            id = ids[0];
            return true;
        });
        return id;
    }

    // The main program is in tray mode: its icon is there, its window is not shown, and
    // its start-up has consumed the agent's mark.
    void ExpectTrayMode(DWORD mainId, const std::string& screenshot) {
        ASSERT_NE(mainId, 0u) << "Tarvesk.exe is not running";
        EXPECT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "no tray icon";
        EXPECT_TRUE(WaitUntil([] { return ReadSetting("StartAgent") == "0"; }))
            << "StartAgent is " << ReadSetting("StartAgent").value_or("absent");
        HWND main = MainWindowOf(mainId);
        ASSERT_NE(main, nullptr);
        for (HWND window : TopLevelWindows(mainId, "TarveskForm"))
            EXPECT_FALSE(IsWindowVisible(window)) << WindowText(window);
        EXPECT_FALSE(Screenshot(screenshot).empty());
    }

    // The installed main program, started by hand; in its Configuration dialog the user
    // checks "Launch Automatically when Windows Starts", whose tooltip is `tip`, and clicks
    // Done.
    void RegisterThroughTheDialog(const std::string& tip) {
        Process main = Process::Start(installedMain());
        ASSERT_TRUE(main);
        HWND window = MainWindowOf(main.id());
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(WindowText(window)) >= 0; }));
        ASSERT_TRUE(ChooseMenuItem(window, {"&Settings", "&Configuration"}));
        HWND dialog = WaitForWindowTitled(main.id(), "TarveskForm", "Configuration");
        ASSERT_NE(dialog, nullptr) << "no Configuration dialog";
        HWND autoStart = Control(dialog, frmSettings::chkAutoStart);
        ASSERT_NE(autoStart, nullptr);
        EXPECT_EQ(WindowText(autoStart), "Launch Automatically when Windows Starts");
        ASSERT_TRUE(IsWindowEnabled(autoStart));
        EXPECT_EQ(ControlToolTip(dialog, autoStart), tip);
        if (!IsChecked(autoStart)) Click(autoStart);
        ASSERT_TRUE(WaitUntil([&] { return IsChecked(autoStart); }));
        ClickControl(dialog, frmSettings::cmdDone);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the dialog stayed open";
    }

    // Log off and on again: the program ends, and Windows runs the Run value `run` as it
    // stands; the main program comes up in the tray.
    void LogOffAndOn(const std::string& run, const std::string& screenshot) {
        EndPrograms();
        ASSERT_TRUE(WaitUntil([] { return !HasTrayIcon("") && TrayIcons().empty(); }));
        Process logOn = Process::StartCommandLine(run);
        ASSERT_TRUE(logOn) << "Windows could not run " << run << ", error " << logOn.error();
        ASSERT_TRUE(logOn.waitForExit());
        EXPECT_EQ(logOn.exitCode(), 0u);
        ExpectTrayMode(WaitForMainProgram(), screenshot);
    }
};

TEST_F(AgentTest, LogOnStartLeavesTheMainProgramInTheTray) {
    Process agent = Process::StartWatched(installedAgent());
    ASSERT_TRUE(agent) << "error " << agent.error();
    ASSERT_TRUE(agent.waitForExit()) << "the agent did not end";
    EXPECT_EQ(agent.exitCode(), 0u);
    // Not even briefly: the agent's window was never displayed.
    EXPECT_EQ(ShownWindows(), std::vector<std::string>{});

    ExpectTrayMode(WaitForMainProgram(), "agent_logon_tray");
}

TEST_F(AgentTest, MissingMainProgramIsReportedAndTheMarkStays) {
    ASSERT_TRUE(DeleteFileA(installedMain().c_str()));
    Process agent = Process::StartWatched(installedAgent());
    ASSERT_TRUE(agent);

    auto box = WaitForMessageBox(agent.id());
    ASSERT_TRUE(box) << "the agent showed no message";
    EXPECT_EQ(box->title, "Tarvesk Agent");
    EXPECT_NE(box->text.find(installedMain()), std::string::npos) << box->text;
    EXPECT_FALSE(Screenshot("agent_missing_program").empty());
    // The mark was written before the launch failed, and stays.
    EXPECT_EQ(ReadSetting("StartAgent"), "1");

    PressDialogButton(box->window, IDOK);
    ASSERT_TRUE(agent.waitForExit());
    EXPECT_EQ(agent.exitCode(), 1u);
    EXPECT_EQ(ReadSetting("StartAgent"), "1");
    EXPECT_TRUE(ProcessesNamed("Tarvesk.exe").empty());
    // The message was the only window the agent displayed.
    EXPECT_EQ(ShownWindows(), std::vector<std::string>{"#32770\tTarvesk Agent"});

    // The next start by hand finds the mark, goes to the tray and clears it.
    ASSERT_TRUE(CopyFileA(MainProgram().c_str(), installedMain().c_str(), FALSE));
    Process main = Process::Start(installedMain());
    ASSERT_TRUE(main);
    ExpectTrayMode(main.id(), "agent_mark_consumed_by_hand_start");
}

TEST_F(AgentTest, RunRegistrationFromTheConfigurationDialogStartsTheTray) {
    ASSERT_NO_FATAL_FAILURE(RegisterThroughTheDialog("Starts Tarvesk for every user of this computer"));
    auto run = ReadRunValue();
    ASSERT_TRUE(run) << "no Run value";
    EXPECT_EQ(*run, "\"" + installedAgent() + "\"");
    EXPECT_EQ(ReadUserRunValue(), std::nullopt);
    LogOffAndOn(*run, "logon_round_trip_tray");
}

// A user who may not write the machine-wide Run key: the dialog registers the agent in the
// user's own Run key, and the log-on runs it from there.
// Windows 95, 98 and ME have no users without rights, nor rights on the registry to take
// away: there every user writes the machine-wide key, and the registration goes there.
TEST_F(AgentTest, PerUserRunRegistrationStartsTheTrayAtLogOn) {
    if (ProgramsAreToldWindows9x()) {
        ASSERT_NO_FATAL_FAILURE(RegisterThroughTheDialog("Starts Tarvesk for every user of this computer"));
        auto run = ReadRunValue();
        ASSERT_TRUE(run) << "no Run value in HKEY_LOCAL_MACHINE on a system without rights";
        EXPECT_EQ(ReadUserRunValue(), std::nullopt);
        LogOffAndOn(*run, "logon_round_trip_windows9x_tray");
        return;
    }
    StandardUser standardUser;
    if (!standardUser.ready()) GTEST_SKIP() << "this Wine prefix lets every user write HKLM's Run key";
    ASSERT_NO_FATAL_FAILURE(RegisterThroughTheDialog("Starts Tarvesk for this user only"));
    auto run = ReadUserRunValue();
    ASSERT_TRUE(run) << "no Run value in HKEY_CURRENT_USER";
    EXPECT_EQ(*run, "\"" + installedAgent() + "\"");
    EXPECT_EQ(ReadRunValue(), std::nullopt);
    LogOffAndOn(*run, "logon_round_trip_per_user_tray");
}

}  // namespace
}  // namespace e2e
