// The three windows on screens of 96, 120, 144 and 192 DPI (the prefix's LogPixels, read by
// the program when it starts): each window and control keeps its design's proportions,
// every caption fits its control, the tray icon's notifications are still told apart, and
// a picture of each window is saved. At 192 DPI the pointer crosses the whole main window.
#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {


struct Twips {
    int left, top, width, height;
};
int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// The screen's DPI is set for the programs this test starts, and put back after.
class ScreenDpiTest : public ProgramTest {
protected:
    void UseDpi(DWORD dpi) {
        SetScreenDpiSetting(dpi);
        program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        main = MainWindowOf(program.id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    }
    void SetUp() override {
        ProgramTest::SetUp();
        saved = ScreenDpiSetting();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        SetScreenDpiSetting(saved);
    }

    // A window of the program shown with a title that starts with `title`.
    HWND ShownWindow(const std::string& title) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
                if (window != main && IsWindowVisible(window) && WindowText(window).rfind(title, 0) == 0)
                    found = window;
            return found != nullptr;
        });
        return found;
    }

    std::optional<DWORD> saved;
    Process program;
    HWND main = nullptr;
};

// The client area is the design's size at the DPI, and so is a control's place in it.
void ExpectProportions(HWND window, const Twips& client, int controlId, const Twips& control, int dpi) {
    SIZE size = ClientSize(window);
    EXPECT_EQ(size.cx, Pixels(client.width, dpi));
    EXPECT_EQ(size.cy, Pixels(client.height, dpi));
    RECT r{};
    GetWindowRect(Control(window, controlId), &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Pixels(control.left, dpi));
    EXPECT_EQ(r.top, Pixels(control.top, dpi));
    EXPECT_EQ(r.right - r.left, Pixels(control.width, dpi));
    EXPECT_EQ(r.bottom - r.top, Pixels(control.height, dpi));
}

// Every caption, measured inside the program with its control's font, fits the control:
// beside a check box's box, inside a button's edges and a frame's indents, a label's lines
// within the label; and the font is as large as the DPI asks.
void ExpectCaptionsFit(HWND window, int dpi, std::vector<CaptionExtent>* measured = nullptr) {
    auto captions = MeasureCaptions(window);
    ASSERT_TRUE(captions) << "the captions could not be measured";
    if (measured) *measured = *captions;
    EXPECT_FALSE(captions->empty());
    for (const CaptionExtent& caption : *captions) {
        SCOPED_TRACE("control " + std::to_string(caption.id) + " (" + caption.kind + ")");
        EXPECT_EQ(caption.dpi, dpi);
        int beside = caption.kind == "check" ? 16 : caption.kind == "frame" ? 12 : caption.kind == "button" ? 4 : 0;
        EXPECT_LE(caption.text.cx + MulDiv(beside, dpi, 96), caption.client.cx);
        EXPECT_LE(caption.text.cy, caption.client.cy);
        // The font scales with the screen: a line is at least the design's 8 points high.
        EXPECT_GE(caption.text.cy, MulDiv(8, dpi, 72));
    }
}

class AtEachDpi : public ScreenDpiTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(AtEachDpi, WindowsKeepTheirProportionsAndTheirCaptionsFit) {
    const int dpi = static_cast<int>(GetParam());
    const std::string at = "dpi" + std::to_string(dpi) + "_";
    UseDpi(GetParam());
    {
        SCOPED_TRACE("main window");
        ExpectProportions(main, {2700, 2220, 4260, 2820}, frmMain::cmdOptimize, {323, 2040, 1215, 375}, dpi);
        ExpectCaptionsFit(main, dpi);
        EXPECT_TRUE(WaitUntilPainted(main));
        EXPECT_FALSE(ScreenshotOfWindow(at + "main", main).empty());
    }
    {
        SCOPED_TRACE("Configuration");
        ASSERT_TRUE(ChooseMenuItem(main, {"&Settings", "&Configuration"}));
        HWND dialog = ShownWindow("Configuration");
        ASSERT_NE(dialog, nullptr);
        ExpectProportions(dialog, {2295, 1725, 5145, 3645}, frmSettings::cmdCancel, {2572, 3120, 1095, 375}, dpi);
        std::vector<CaptionExtent> captions;
        ExpectCaptionsFit(dialog, dpi, &captions);
        // Each box's label is one line beside its box, as a button's caption is.
        auto lineOf = [&](int id) {
            for (const CaptionExtent& caption : captions)
                if (caption.id == id) return caption.text.cy;
            return 0L;
        };
        EXPECT_EQ(lineOf(frmSettings::Label2), lineOf(frmSettings::cmdCancel));
        EXPECT_EQ(lineOf(frmSettings::Label1), lineOf(frmSettings::cmdCancel));
        EXPECT_TRUE(WaitUntilPainted(dialog));
        EXPECT_FALSE(ScreenshotOfWindow(at + "configuration", dialog).empty());
        ClickControl(dialog, frmSettings::cmdCancel);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
    {
        SCOPED_TRACE("About");
        ClickControl(main, frmMain::cmdAbout);
        HWND about = ShownWindow("About Tarvesk");
        ASSERT_NE(about, nullptr);
        ExpectProportions(about, {2700, 2730, 4305, 2070}, frmAbout::cmdClose, {1605, 1560, 1095, 375}, dpi);
        ExpectCaptionsFit(about, dpi);
        EXPECT_TRUE(WaitUntilPainted(about));
        EXPECT_FALSE(ScreenshotOfWindow(at + "about", about).empty());
        ClickControl(about, frmAbout::cmdClose);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    }
}

TEST_P(AtEachDpi, TrayIconNotificationsAreToldApart) {
    UseDpi(GetParam());
    ClickControl(main, frmMain::cmdTray);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip));
    // The notification code comes as the pointer's x, which the window turns into twips and
    // the program back into the code.
    PostTrayNotification(main, 1, WM_RBUTTONUP);
    HWND popup = WaitForPopupMenu(program.id());
    ASSERT_NE(popup, nullptr) << "a right click on the icon opened no menu";
    auto items = ReadMenu(popup, PopupMenuHandle(popup));
    ASSERT_TRUE(items && !items->empty());
    EXPECT_EQ(items->front().caption, "Open &Main Window");
    EXPECT_TRUE(items->front().isDefault);
    ASSERT_TRUE(ChoosePopupItem(popup, "Open &Main Window"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));

    ClickControl(main, frmMain::cmdTray);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    PostTrayNotification(main, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
}

INSTANTIATE_TEST_SUITE_P(Screens, AtEachDpi, ::testing::Values(96u, 120u, 144u, 192u),
                         [](const ::testing::TestParamInfo<DWORD>& info) {
                             return "Dpi" + std::to_string(info.param);
                         });

using HighDpi = ScreenDpiTest;

// At 192 DPI the main window is wider than 517 pixels, the largest notification code the
// program acts on. A pointer moving over it is no notification of the icon.
TEST_F(HighDpi, PointerAcrossTheMainWindowDoesNothing) {
    UseDpi(192);
    SIZE client = ClientSize(main);
    ASSERT_GT(client.cx, 517);
    auto menuBefore = ReadMenu(main);
    ASSERT_TRUE(menuBefore);
    // Along a row between the controls, every x of the client area, as the system reports
    // a moving pointer; then the real pointer along the same row.
    const int y = Pixels(1000, 192);
    for (int x = 0; x < client.cx; ++x) PostMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    POINT origin{0, y};
    ClientToScreen(main, &origin);
    for (int x = 0; x < client.cx; x += 3) SetCursorPos(origin.x + x, origin.y);
    ASSERT_TRUE(WaitUntilHandled(Control(main, frmMain::cmdOptimize))) << "the program stopped answering";

    for (HWND popup : TopLevelWindows(program.id(), "#32768"))
        EXPECT_FALSE(IsWindowVisible(popup)) << "a pop-up menu appeared";
    EXPECT_TRUE(IsWindowVisible(main));
    auto menuAfter = ReadMenu(main);
    ASSERT_TRUE(menuAfter);
    EXPECT_EQ(Captions(FindMenuItem(*menuAfter, {"&File"})->items),
              Captions(FindMenuItem(*menuBefore, {"&File"})->items));
    for (const TrayIcon& icon : TrayIcons()) EXPECT_FALSE(IsMemoryTip(icon.tip)) << icon.tip;
    EXPECT_FALSE(ScreenshotOfWindow("dpi192_pointer_across_main", main).empty());
}

}  // namespace
}  // namespace e2e
