// The start-up agent: the mark, then the launch, and what a failing step leaves behind.
#include <gtest/gtest.h>

#include "agent/frmTarveskA.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"

namespace {

using namespace fakes;

// Records what the store held for StartAgent at the moment of each launch.
class MarkReadingLauncher : public FakeLauncher {
public:
    explicit MarkReadingLauncher(FakeSettings& settings) : settings_(settings) {}
    std::vector<std::optional<std::string>> markAtLaunch;
    std::string launch(const std::string& programPath) override {
        markAtLaunch.push_back(settings_.get("StartAgent"));
        return FakeLauncher::launch(programPath);
    }

private:
    FakeSettings& settings_;
};

class AgentTest : public ::testing::Test {
protected:
    FakeSettings settings;
    MarkReadingLauncher launcher{settings};
    FakeProgram program;
    FakeMessages messages;
    tarvesk::frmTarveskA agent{settings, launcher, program, messages};
};

TEST_F(AgentTest, StoresTheMarkUnderTheMainProgramsNameBeforeStartingIt) {
    program.dir = "C:\\Program Files\\Tarvesk";
    EXPECT_EQ(agent.Form_Load(), 0);

    // Exactly one write: application "Tarvesk" (not the agent's title), section "Settings".
    ASSERT_EQ(settings.writes, std::vector<std::string>{"StartAgent=1"});
    EXPECT_EQ(settings.values.size(), 1u);
    EXPECT_EQ(settings.get("StartAgent"), "1");
    // The main program reads the mark during its start-up: it is there before the launch.
    ASSERT_EQ(launcher.markAtLaunch.size(), 1u);
    EXPECT_EQ(launcher.markAtLaunch[0], "1");
    EXPECT_EQ(launcher.launched, std::vector<std::string>{"C:\\Program Files\\Tarvesk\\Tarvesk.exe"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AgentTest, OverwritesAMarkLeftByAnEarlierRun) {
    settings.put("StartAgent", "0");
    agent.Form_Load();
    EXPECT_EQ(settings.get("StartAgent"), "1");
    EXPECT_EQ(launcher.markAtLaunch[0], "1");
}

TEST_F(AgentTest, LaunchFailureIsShownAndTheMarkStaysForTheNextStartByHand) {
    launcher.failure = "The system cannot find the file specified. (error 2)";
    program.dir = "D:\\Apps";
    EXPECT_EQ(agent.Form_Load(), 1);

    EXPECT_EQ(settings.get("StartAgent"), "1");
    ASSERT_EQ(messages.shown.size(), 1u);
    const auto& shown = messages.shown[0];
    EXPECT_EQ(shown.title, "Tarvesk Agent");
    EXPECT_EQ(shown.style, tarvesk::MessageBoxStop);
    // The message names what could not be started and why.
    EXPECT_NE(shown.text.find("D:\\Apps\\Tarvesk.exe"), std::string::npos) << shown.text;
    EXPECT_NE(shown.text.find(launcher.failure), std::string::npos) << shown.text;

    // The user starts the main program by hand: it takes the mark and lives in the tray.
    FakePlatform main;
    main.settings.values = settings.values;
    tarvesk::modMain shared;
    tarvesk::frmMain f{main.platform, shared};
    f.load();
    EXPECT_TRUE(f.inTrayMode());
    EXPECT_FALSE(f.visible());
    EXPECT_EQ(main.settings.get("StartAgent"), "0");
}

TEST_F(AgentTest, StoreFailureIsShownAndNothingIsStarted) {
    settings.refuseWrites = true;
    EXPECT_EQ(agent.Form_Load(), 1);

    EXPECT_TRUE(launcher.launched.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Tarvesk Agent");
    EXPECT_EQ(messages.shown[0].style, tarvesk::MessageBoxStop);
    EXPECT_NE(messages.shown[0].text.find("StartAgent"), std::string::npos);
}

TEST_F(AgentTest, UnknownOwnFolderStartsNothing) {
    // Without its folder the agent would start whatever "\Tarvesk.exe" means in the
    // current drive's root.
    program.dir.clear();
    EXPECT_EQ(agent.Form_Load(), 1);
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(settings.get("StartAgent"), "1");
}

}  // namespace
