// Help > Contents as the system offers it. Wine reports a Windows version to Tarvesk.exe
// alone (HKCU\Software\Wine\AppDefaults\Tarvesk.exe, value Version): on Windows XP the help
// file opens in the WinHelp viewer, on Windows 10 the HTML page beside it opens in the
// user's browser, and whenever the viewer cannot be started or shows no window the HTML
// page opens instead. The browser is a stand-in of the tests (page_recorder.exe),
// registered in the prefix for .html files; it records the page it was asked to open.
#include <cctype>
#include <cstdlib>

#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\Tarvesk.exe";
constexpr char kClasses[] = "Software\\Classes";
constexpr char kHtmlType[] = "Software\\Classes\\.html";
constexpr char kPageType[] = "TarveskE2E.Page";
constexpr char kRecordKey[] = "Software\\TarveskE2E";
constexpr char kViewer[] = "winhlp32.exe";
constexpr char kViewerClass[] = "MS_WINHELP";

// A Windows that still has the WinHelp viewer, as Wine names it for a program of this build.
// A Windows before Vista: the one the old-system runs report to the programs
// (TARVESK_E2E_WINDOWS), else XP of the programs' bitness.
std::string WindowsBeforeVista() {
    const char* told = std::getenv("TARVESK_E2E_WINDOWS");
    if (told && *told) return told;
    return ProgramsAre32Bit() ? "winxp" : "winxp64";
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// What the help viewer shows of its topic: the text of its rich-edit controls.
std::string TopicText(HWND viewer) {
    std::vector<HWND> children;
    EnumChildWindows(
        viewer,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::string text;
    for (HWND child : children)
        if (Lower(ClassName(child)).find("richedit") != std::string::npos) text += WindowText(child);
    return text;
}

// Visible viewer windows of every viewer process.
std::vector<HWND> ViewerWindows() {
    std::vector<HWND> shown;
    for (DWORD id : ProcessesNamed(kViewer))
        for (HWND window : TopLevelWindows(id, kViewerClass))
            if (IsWindowVisible(window)) shown.push_back(window);
    return shown;
}

// Whether this host can start the viewer at all: started the way WinHelp starts it, it
// makes its (hidden) window.
bool HostStartsTheViewer() {
    Process viewer = Process::StartCommandLine(std::string(kViewer) + " -x");
    if (!viewer) return false;
    const bool started = WaitForWindow(viewer.id(), kViewerClass) != nullptr;
    viewer.kill();
    return started;
}

bool CopyInto(const std::string& folder, const std::string& name) {
    return CopyFileA(JoinPath(BinDir(), name).c_str(), JoinPath(folder, name).c_str(), FALSE) != 0;
}

class HelpTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        EndHelpPrograms();
        DeleteKey(HKEY_CURRENT_USER, kRecordKey);
        // The stand-in browser opens .html files. Wine reads file types from the machine's
        // classes only; what the prefix had there is put back afterwards.
        pageTypeBefore_ = ReadText(HKEY_LOCAL_MACHINE, kHtmlType, "");
        // The version Wine reports to the program is put back too: the old-system runs set one.
        versionBefore_ = ReadText(HKEY_CURRENT_USER, kAppDefaults, "Version");
        const std::string command = "\"" + JoinPath(OwnFolder(), "page_recorder.exe") + "\" \"%1\"";
        ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, kHtmlType, "", kPageType));
        ASSERT_TRUE(WriteText(HKEY_LOCAL_MACHINE, PageTypeKey() + "\\shell\\open\\command", "", command));
    }
    void TearDown() override {
        EndHelpPrograms();
        ProgramTest::TearDown();
        if (versionBefore_)
            WriteText(HKEY_CURRENT_USER, kAppDefaults, "Version", *versionBefore_);
        else
            DeleteValue(HKEY_CURRENT_USER, kAppDefaults, "Version");
        DeleteKey(HKEY_CURRENT_USER, kRecordKey);
        DeleteKey(HKEY_LOCAL_MACHINE, PageTypeKey());
        if (pageTypeBefore_)
            WriteText(HKEY_LOCAL_MACHINE, kHtmlType, "", *pageTypeBefore_);
        else
            DeleteKey(HKEY_LOCAL_MACHINE, kHtmlType);
    }
    static std::string PageTypeKey() { return std::string(kClasses) + "\\" + kPageType; }
    static void EndHelpPrograms() {
        KillProcessesNamed(kViewer);
        KillProcessesNamed("page_recorder.exe");
    }
    // The folder of the test program, where the stand-ins are built.
    static std::string OwnFolder() {
        char path[MAX_PATH * 4];
        const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
        std::string text(path, length < sizeof path ? length : 0);
        return text.substr(0, text.find_last_of('\\'));
    }

    // Starts Tarvesk.exe from `folder` with Wine reporting `windows` to it, and chooses
    // Help > Contents.
    void ChooseContents(const std::string& windows, const std::string& folder = BinDir()) {
        ASSERT_TRUE(WriteText(HKEY_CURRENT_USER, kAppDefaults, "Version", windows));
        program = Process::Start(JoinPath(folder, "Tarvesk.exe"));
        ASSERT_TRUE(program) << "cannot start " << JoinPath(folder, "Tarvesk.exe") << ", error "
                             << program.error();
        main = MainWindowOf(program.id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(ChooseMenuItem(main, {"&Help", "&Contents"}));
    }
    // The page the stand-in browser was asked to open, once it was.
    static std::optional<std::string> WaitForOpenedPage() {
        std::optional<std::string> page;
        WaitUntil([&] { return (page = ReadText(HKEY_CURRENT_USER, kRecordKey, "OpenedPage")).has_value(); });
        return page;
    }
    static DWORD PagesOpened() { return ReadNumber(HKEY_CURRENT_USER, kRecordKey, "Opens").value_or(0); }
    // The stand-in browser's box, shown once it has recorded the page.
    static HWND WaitForBrowser() {
        HWND box = nullptr;
        WaitUntil([&] {
            for (DWORD id : ProcessesNamed("page_recorder.exe"))
                for (HWND window : TopLevelWindows(id, "#32770"))
                    if (IsWindowVisible(window)) box = window;
            return box != nullptr;
        });
        return box;
    }
    // The program has handled everything up to now, the click on Contents included.
    void ExpectProgramGoesOn() {
        EXPECT_TRUE(program.running());
        EXPECT_TRUE(Answers(main));
        EXPECT_TRUE(IsWindowVisible(main));
    }

    Process program;
    HWND main = nullptr;

private:
    std::optional<std::string> pageTypeBefore_;
    std::optional<std::string> versionBefore_;
};

TEST_F(HelpTest, OnWindows10TheHtmlPageBesideTheHelpFileOpensInTheBrowser) {
    ASSERT_TRUE(FileExists(JoinPath(BinDir(), "tarvesk.html"))) << "no help page in " << BinDir();
    ChooseContents("win10");

    const auto page = WaitForOpenedPage();
    ASSERT_TRUE(page) << "Help > Contents opened no page";
    EXPECT_EQ(Lower(*page), Lower(JoinPath(BinDir(), "tarvesk.html")));
    HWND browser = WaitForBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(WaitUntilPainted(browser));
    EXPECT_FALSE(Screenshot("help_page_on_windows10").empty());
    EXPECT_EQ(PagesOpened(), 1u);
    EXPECT_TRUE(ProcessesNamed(kViewer).empty()) << "the WinHelp viewer was started on Windows 10";
    ExpectProgramGoesOn();
}

TEST_F(HelpTest, BeforeVistaTheHelpFileOpensInTheViewer) {
    ChooseContents(WindowsBeforeVista());

    HWND viewer = nullptr;
    const bool viewerShown = WaitUntil([&] {
        const auto shown = ViewerWindows();
        viewer = shown.empty() ? nullptr : shown[0];
        return viewer != nullptr;
    });
    if (viewerShown) {
        // The viewer shows the contents topic of our file, not an error.
        EXPECT_TRUE(WaitUntil([&] { return TopicText(viewer).find("Tarvesk Help Contents") != std::string::npos; }))
            << "the viewer shows \"" << TopicText(viewer) << "\"";
        EXPECT_TRUE(WaitUntilPainted(viewer));
        EXPECT_FALSE(Screenshot("help_contents_in_the_viewer").empty());
        ExpectProgramGoesOn();
        EXPECT_EQ(PagesOpened(), 0u) << "the page opened as well as the viewer";

        PostMessageA(viewer, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([] { return ProcessesNamed(kViewer).empty(); })) << "the help viewer did not close";
        ExpectProgramGoesOn();
        return;
    }
    // Where the viewer cannot start, the page opens instead.
    EXPECT_FALSE(HostStartsTheViewer()) << "no viewer window although this host starts the viewer";
    const auto page = WaitForOpenedPage();
    ASSERT_TRUE(page) << "neither the viewer nor the page opened";
    EXPECT_EQ(Lower(*page), Lower(JoinPath(BinDir(), "tarvesk.html")));
    EXPECT_FALSE(Screenshot("help_page_without_a_viewer").empty());
    ExpectProgramGoesOn();
}

// Tarvesk.exe and its help in a folder of their own, with a winhlp32.exe beside them that
// WinHelp finds before the system's: a file that is no program, or a viewer that takes the
// request but never shows its window.
TEST_F(HelpTest, AViewerThatCannotStartOrShowsNoWindowGivesTheHtmlPage) {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
    const std::string folder = JoinPath(temp, "tarvesk-help-e2e");
    ASSERT_TRUE(MakeFolders(folder));
    for (const char* name : {"Tarvesk.exe", "tarvesk.hlp", "tarvesk.html"}) ASSERT_TRUE(CopyInto(folder, name)) << name;
    const std::string standIn = JoinPath(folder, kViewer);

    for (const bool isProgram : {false, true}) {
        SCOPED_TRACE(isProgram ? "a viewer that shows no window" : "a viewer that is no program");
        DeleteFileA(standIn.c_str());
        if (isProgram) {
            ASSERT_TRUE(CopyFileA(JoinPath(OwnFolder(), "hidden_viewer.exe").c_str(), standIn.c_str(), FALSE));
        } else {
            HANDLE file = CreateFileA(standIn.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            DWORD written = 0;
            WriteFile(file, "not a program\r\n", 15, &written, nullptr);
            CloseHandle(file);
        }
        DeleteKey(HKEY_CURRENT_USER, kRecordKey);
        ChooseContents(WindowsBeforeVista(), folder);

        const auto page = WaitForOpenedPage();
        ASSERT_TRUE(page) << "Help > Contents opened no page";
        EXPECT_EQ(Lower(*page), Lower(JoinPath(folder, "tarvesk.html")));
        EXPECT_TRUE(ViewerWindows().empty());
        HWND browser = WaitForBrowser();
        ASSERT_NE(browser, nullptr);
        EXPECT_TRUE(WaitUntilPainted(browser));
        EXPECT_FALSE(Screenshot(isProgram ? "help_page_when_the_viewer_shows_nothing"
                                          : "help_page_when_the_viewer_cannot_start").empty());
        EXPECT_EQ(PagesOpened(), 1u);
        ExpectProgramGoesOn();
        EndPrograms();
        EndHelpPrograms();
    }
    for (const char* name : {"Tarvesk.exe", "tarvesk.hlp", "tarvesk.html", kViewer})
        DeleteFileA(JoinPath(folder, name).c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace e2e
