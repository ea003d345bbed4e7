// The About window: its title from the program's version, its Close button, its credits,
// and its life apart from the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "case_trace.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/about_title.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "resource_ids.h"
#include "version.h"

namespace {

long countOf(const std::vector<std::string>& log, const std::string& entry) {
    return std::count(log.begin(), log.end(), entry);
}

TEST(AboutTitle, ShowsMajorMinorAndRevisionInPlainDecimal) {
    EXPECT_EQ(tarvesk::AboutTitle(1, 0, 13), "About Tarvesk - Version 1.0.13");
    EXPECT_EQ(tarvesk::AboutTitle(1, 0, 0), "About Tarvesk - Version 1.0.0");
    EXPECT_EQ(tarvesk::AboutTitle(10, 2, 7), "About Tarvesk - Version 10.2.7");
    EXPECT_EQ(tarvesk::AboutTitle(65535, 65535, 65535), "About Tarvesk - Version 65535.65535.65535");
}

TEST(AboutWindow, LoadSetsTheChipIconAndTheVersionTitle) {
    fakes::FakeFormHost host;
    tarvesk::frmAbout about(host);
    about.load();
    EXPECT_EQ(about.icon(), IDI_CHIP);
    // The release's numbers from version.h, spelled by the preprocessor.
    EXPECT_EQ(about.caption(), "About Tarvesk - Version " TARVESK_STRINGIFY(TARVESK_VERSION_MAJOR) "." TARVESK_STRINGIFY(
                                   TARVESK_VERSION_MINOR) "." TARVESK_STRINGIFY(TARVESK_VERSION_REVISION));
}

TEST(AboutWindow, CloseIsDefaultAndCancelAndUnloadsTheWindow) {
    fakes::FakeFormHost host;
    tarvesk::frmAbout about(host);
    about.show();
    EXPECT_TRUE(about.cmdClose.isDefault);
    EXPECT_TRUE(about.cmdClose.isCancel);
    about.cmdClose.click();
    EXPECT_FALSE(about.loaded());
    EXPECT_FALSE(about.visible());
    EXPECT_EQ(countOf(host.log, "destroy frmAbout"), 1);
}

// Each credit has to fit the two lines its label has room for. Measured with a generous
// average of 7 pixels a character (the dialog font averages about 6; 15 twips a pixel),
// wrapped at word boundaries.
int wrappedLines(const std::string& text, int widthTwips) {
    const std::size_t perLine = static_cast<std::size_t>(widthTwips / (7 * 15));
    std::istringstream words(text);
    std::string word;
    int lines = 0;
    std::size_t used = 0;
    while (words >> word) {
        if (lines == 0 || used + 1 + word.size() > perLine) {
            ++lines;
            used = word.size();
        } else {
            used += 1 + word.size();
        }
    }
    return lines;
}

TEST(AboutWindow, CreditsFitTwoLinesOfTheirLabels) {
    fakes::FakeFormHost host;
    tarvesk::frmAbout about(host);
    for (auto* label : {&about.Label1, &about.Label2}) {
        CASE_TRACE(label->name());
        EXPECT_FALSE(label->caption().empty());
        EXPECT_LE(wrappedLines(label->caption(), label->bounds.width), 2);
        EXPECT_GE(label->bounds.height, 2 * 13 * 15);   // two lines of text
    }
}

struct AboutFromMain : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};
};

TEST_F(AboutFromMain, StaysOpenWhenTheMainWindowGoesToTheTray) {
    f.load();
    f.show();
    f.cmdAbout.click();
    f.tray_Click();
    EXPECT_TRUE(f.inTrayMode());
    EXPECT_TRUE(f.aboutWindow()->loaded());
    EXPECT_TRUE(f.aboutWindow()->visible());
}

TEST_F(AboutFromMain, FromTheTrayMenuItShowsAloneWithoutTheMainWindow) {
    fp.settings.put("StartAgent", "1");
    f.load();
    ASSERT_TRUE(f.inTrayMode());
    f.fileabout.click();
    EXPECT_EQ(countOf(fp.forms.log, "show frmAbout"), 1);
    EXPECT_EQ(countOf(fp.forms.log, "show frmMain"), 0);
    EXPECT_FALSE(f.visible());
    EXPECT_TRUE(f.inTrayMode());
}

}  // namespace
