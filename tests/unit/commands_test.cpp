// The main window's commands: the shared About window and Configuration dialog, help
// contents, Exit, and the three requests to end the session.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "settings/frmSettings.h"

namespace {

using tarvesk::SessionEnd;
using tarvesk::TrayCommand;

long countOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::count(log.begin(), log.end(), entry);
}

struct Commands : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};

    void SetUp() override {
        f.load();
        if (!f.inTrayMode()) f.show();
    }
};

// --- About ---------------------------------------------------------------------------

TEST_F(Commands, AboutTwiceGivesOneWindowBroughtForward) {
    f.cmdAbout.click();
    auto* first = f.aboutWindow();
    ASSERT_NE(first, nullptr);
    f.cmdAbout.click();
    EXPECT_EQ(f.aboutWindow(), first);
    EXPECT_EQ(countOf(fp.forms.log, "create frmAbout"), 1);
    EXPECT_EQ(countOf(fp.forms.log, "show frmAbout"), 2);
}

TEST_F(Commands, AllThreeAboutCommandsShareTheOneWindow) {
    f.cmdAbout.click();
    f.fileabout.click();
    f.helpabout.click();
    EXPECT_EQ(countOf(fp.forms.log, "create frmAbout"), 1);
    EXPECT_EQ(countOf(fp.forms.log, "show frmAbout"), 3);
    EXPECT_TRUE(f.aboutWindow()->visible());
}

TEST_F(Commands, AboutAfterClosingLoadsAFreshWindowWithTheSameTitle) {
    f.helpabout.click();
    const std::string title = f.aboutWindow()->caption();
    f.aboutWindow()->cmdClose.click();
    EXPECT_EQ(countOf(fp.forms.log, "destroy frmAbout"), 1);

    f.helpabout.click();
    ASSERT_NE(f.aboutWindow(), nullptr);
    EXPECT_TRUE(f.aboutWindow()->loaded());
    EXPECT_TRUE(f.aboutWindow()->visible());
    EXPECT_EQ(f.aboutWindow()->caption(), title);
    EXPECT_EQ(countOf(fp.forms.log, "create frmAbout"), 2);
}

// --- Configuration -------------------------------------------------------------------

TEST_F(Commands, ConfigurationWhileOpenBringsTheSameDialogForward) {
    f.config.click();
    auto* dialog = f.settingsDialog();
    ASSERT_NE(dialog, nullptr);
    f.config.click();
    EXPECT_EQ(f.settingsDialog(), dialog);
    EXPECT_EQ(countOf(fp.forms.log, "create frmSettings"), 1);
    EXPECT_EQ(countOf(fp.forms.log, "show frmSettings"), 2);
}

TEST_F(Commands, ConfigurationAfterClosingLoadsTheDialogAgain) {
    f.config.click();
    f.settingsDialog()->unload();
    EXPECT_EQ(fp.run.openKeys, 0);
    f.config.click();
    EXPECT_TRUE(f.settingsDialog()->loaded());
    EXPECT_EQ(countOf(fp.forms.log, "create frmSettings"), 2);
}

TEST_F(Commands, SecondaryWindowsOutliveTheMainWindowClosedByItsFrame) {
    f.config.click();
    f.cmdAbout.click();
    f.unload();   // the frame's close box
    EXPECT_EQ(countOf(fp.forms.log, "destroy frmMain"), 1);
    EXPECT_TRUE(f.settingsDialog()->loaded());
    EXPECT_TRUE(f.aboutWindow()->loaded());
    EXPECT_FALSE(fp.forms.ended);
    // Closing the shown main window touches neither the settings nor the tray.
    EXPECT_TRUE(fp.settings.writes.empty());
    EXPECT_TRUE(fp.tray.calls.empty());
    f.aboutWindow()->cmdClose.click();
    EXPECT_FALSE(f.aboutWindow()->loaded());
    EXPECT_EQ(countOf(fp.forms.log, "destroy frmAbout"), 1);
    f.settingsDialog()->unload();
    EXPECT_EQ(fp.run.openKeys, 0);
}

// --- Contents ------------------------------------------------------------------------

TEST_F(Commands, ContentsOpensTheHelpFileForTheMainWindow) {
    f.contents.click();
    ASSERT_EQ(fp.help.calls.size(), 1u);
    EXPECT_EQ(fp.help.calls[0].what, "winhelp");
    EXPECT_EQ(fp.help.calls[0].owner, f.hWnd());
    EXPECT_NE(fp.help.calls[0].owner, 0u);
    EXPECT_EQ(fp.help.calls[0].file, "C:\\Program Files\\Tarvesk\\tarvesk.hlp");
    EXPECT_FALSE(fp.forms.ended);
    EXPECT_TRUE(fp.messages.shown.empty());
}

// --- Exit ----------------------------------------------------------------------------

TEST_F(Commands, ExitFromTheWindowDeletesTheUntouchedRecordAndEnds) {
    fp.settings.writes.clear();
    f.exit.click();
    ASSERT_EQ(fp.tray.calls.size(), 1u);
    EXPECT_EQ(fp.tray.calls[0].command, TrayCommand::Delete);
    EXPECT_EQ(fp.tray.calls[0].record, tarvesk::TrayIconRecord{});
    EXPECT_TRUE(fp.forms.ended);
    EXPECT_EQ(fp.forms.log.back(), "end");
    EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(Commands, ExitFromTheTrayDeletesTheIconLastSent) {
    f.tray_Click();
    ASSERT_FALSE(fp.tray.calls.empty());
    const tarvesk::TrayIconRecord last = fp.tray.calls.back().record;
    EXPECT_EQ(last.uID, 1u);
    fp.settings.writes.clear();

    f.exit.click();
    EXPECT_EQ(fp.tray.calls.back().command, TrayCommand::Delete);
    EXPECT_EQ(fp.tray.calls.back().record, last);
    EXPECT_TRUE(fp.forms.ended);
    EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(Commands, ExitEndsTheProgramEvenWhenTheIconDeleteIsRefused) {
    fp.tray.refuse = true;
    f.cmdAbout.click();
    f.exit.click();
    EXPECT_TRUE(fp.forms.ended);
}

// --- Log off, reboot, shut down -------------------------------------------------------

TEST_F(Commands, SessionCommandsSendTheirRequestAndNothingElse) {
    fp.settings.writes.clear();
    f.logoff.click();
    f.reboot.click();
    f.shutdown.click();
    EXPECT_EQ(fp.session.requests,
              (std::vector<SessionEnd>{SessionEnd::LogOff, SessionEnd::Reboot, SessionEnd::ShutDown}));
    EXPECT_EQ(static_cast<unsigned>(SessionEnd::LogOff), 0u);
    EXPECT_EQ(static_cast<unsigned>(SessionEnd::ShutDown), 1u);
    EXPECT_EQ(static_cast<unsigned>(SessionEnd::Reboot), 2u);
    // No confirmation, and the program keeps running until the system ends it.
    EXPECT_TRUE(fp.messages.shown.empty());
    EXPECT_FALSE(fp.forms.ended);
    EXPECT_TRUE(f.loaded());
    EXPECT_TRUE(fp.tray.calls.empty());
    EXPECT_TRUE(fp.settings.writes.empty());
}

}  // namespace
