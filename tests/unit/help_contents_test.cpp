// Help > Contents: the WinHelp viewer on Windows before Vista, the HTML page beside the help
// file from Vista on, and the HTML page whenever the viewer cannot be started or shows no
// window.
#include <gtest/gtest.h>

#include <vector>

#include "case_trace.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/help_contents.h"

namespace {

using Call = fakes::FakeHelp::Call;
using Calls = std::vector<Call>;

constexpr std::uintptr_t kOwner = 0x1234;
const std::string kHelpFile = "C:\\Program Files\\Tarvesk\\tarvesk.hlp";
const std::string kPage = "C:\\Program Files\\Tarvesk\\tarvesk.html";

Calls contentsOn(fakes::FakeHelp& help) {
    tarvesk::ShowHelpContents(help, kOwner, kHelpFile);
    return help.calls;
}

TEST(HelpContents, WindowsBeforeVistaShowTheHelpFileInTheViewer) {
    // 95/98/ME/NT 4.0, 2000/XP/Server 2003, and a system that does not say its version.
    for (unsigned long major : {4ul, 5ul, 0ul}) {
        CASE_TRACE(major);
        fakes::FakeHelp help;
        help.majorVersion = major;
        EXPECT_EQ(contentsOn(help), (Calls{{"winhelp", kOwner, kHelpFile}}));
    }
}

TEST(HelpContents, VistaAndLaterOpenTheHtmlPageWithoutAskingWinHelp) {
    for (unsigned long major : {6ul, 10ul}) {
        CASE_TRACE(major);
        fakes::FakeHelp help;
        help.majorVersion = major;
        EXPECT_EQ(contentsOn(help), (Calls{{"open", kOwner, kPage}}));
    }
}

TEST(HelpContents, AViewerThatCannotStartOrShowsNoWindowGivesTheHtmlPage) {
    fakes::FakeHelp cannotStart;
    cannotStart.winHelpFails = true;
    EXPECT_EQ(contentsOn(cannotStart), (Calls{{"winhelp", kOwner, kHelpFile}, {"open", kOwner, kPage}}));

    fakes::FakeHelp showsNothing;
    showsNothing.viewerShows = false;
    EXPECT_EQ(contentsOn(showsNothing), (Calls{{"winhelp", kOwner, kHelpFile}, {"open", kOwner, kPage}}));
}

TEST(HtmlPageBeside, ReplacesTheExtensionOfTheFileName) {
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\Program Files\\Tarvesk\\tarvesk.hlp"),
              "C:\\Program Files\\Tarvesk\\tarvesk.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\\\tarvesk.hlp"), "C:\\\\tarvesk.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\T\\TARVESK.HLP"), "C:\\T\\TARVESK.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\T\\tarvesk.v2.hlp"), "C:\\T\\tarvesk.v2.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("tarvesk.hlp"), "tarvesk.html");
}

TEST(HtmlPageBeside, APointInAFolderNameIsNoExtension) {
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\Apps.old\\tarvesk"), "C:\\Apps.old\\tarvesk.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:/Apps.old/tarvesk"), "C:/Apps.old/tarvesk.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside("C:\\Apps\\.hlp"), "C:\\Apps\\.hlp.html");
    EXPECT_EQ(tarvesk::HtmlPageBeside(""), ".html");
}

}  // namespace
