#pragma once
// Deterministic fakes of every platform service: they record what the logic asked and
// can be told to fail.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "forms/Form.h"
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"

namespace fakes {

using namespace tarvesk;

class FakeMemory : public MemoryStatusSource {
public:
    MemoryFigures figures{134217728, 52428800};
    int samples = 0;
    MemoryFigures sample() override {
        ++samples;
        return figures;
    }
};

class FakeBlocks : public BlockAllocator {
public:
    std::vector<std::uint64_t> requests;          // every size asked for, in order
    std::set<std::uint64_t> failSizes;            // sizes that cannot be had
    bool failAll = false;
    int live = 0;                                 // blocks obtained and not yet released
    std::vector<std::string> log;                 // "obtain N", "release N"

    std::unique_ptr<MemoryBlock> obtainWritten(std::uint64_t bytes) override;
};

class FakeTray : public TrayShell {
public:
    struct Call {
        TrayCommand command;
        TrayIconRecord record;
    };
    std::vector<Call> calls;
    bool refuse = false;
    std::uint32_t size = 88;
    bool notify(TrayCommand command, const TrayIconRecord& record) override {
        calls.push_back({command, record});
        return !refuse;
    }
    std::uint32_t recordSize() const override { return size; }
    // The tooltip text up to its NUL.
    static std::string tip(const TrayIconRecord& r);
};

class FakeSettings : public SettingsStore {
public:
    // (application, section, key) -> text
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    std::vector<std::string> writes;   // "key=text", in order
    bool refuseWrites = false;

    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultText) override;
    bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view text) override;

    // Shortcuts for the program's own section.
    void put(const std::string& key, const std::string& text);
    std::optional<std::string> get(const std::string& key) const;
};

class FakeRun : public RunRegistration {
public:
    // One Run key: the machine-wide one or the user's.
    struct Place {
        std::optional<std::string> value;   // data of the "Tarvesk" value, if present
        bool canOpen = true;
        bool canWrite = true;
    };
    Place machine, user;
    int openKeys = 0;                   // keys open right now, in both places
    // "open machine", "query user", "set machine <data>", "delete user", "close machine"
    std::vector<std::string> log;

    Place& at(RunPlace place) { return place == RunPlace::Machine ? machine : user; }
    static std::string nameOf(RunPlace place) {
        return place == RunPlace::Machine ? "machine" : "user";
    }
    RunKeyOpenResult open(RunPlace place) override;
};

class FakeSession : public SessionControl {
public:
    std::vector<SessionEnd> requests;
    void exitWindows(SessionEnd how) override { requests.push_back(how); }
};

// A system of a given Windows version whose WinHelp viewer can fail to start or to show.
class FakeHelp : public HelpEngine {
public:
    unsigned long majorVersion = 5;   // Windows 2000 and XP
    bool winHelpFails = false;        // WinHelpA reports a failure
    bool viewerShows = true;          // a viewer window is on the screen after WinHelpA
    struct Call {
        std::string what;   // "winhelp" or "open"
        std::uintptr_t owner;
        std::string file;
        bool operator==(const Call&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Call& c) {
            return out << c.what << ' ' << c.owner << ' ' << c.file;
        }
    };
    std::vector<Call> calls;

    unsigned long windowsMajorVersion() override { return majorVersion; }
    bool winHelpContents(std::uintptr_t owner, const std::string& file) override {
        calls.push_back({"winhelp", owner, file});
        return !winHelpFails;
    }
    bool winHelpViewerShown() override { return viewerShows && !winHelpFails; }
    void openDocument(std::uintptr_t owner, const std::string& path) override {
        calls.push_back({"open", owner, path});
    }
};

class FakeMessages : public MessageBoxService {
public:
    struct Shown {
        std::string text, title;
        unsigned style;
    };
    std::vector<Shown> shown;
    void show(const std::string& text, const std::string& title, unsigned style) override {
        shown.push_back({text, title, style});
    }
};

class FakeProgram : public ProgramInfo {
public:
    std::string dir = "C:\\Program Files\\Tarvesk";
    char separator = '.';
    std::string folder() override { return dir; }
    char decimalSeparator() override { return separator; }
};

class FakeLauncher : public ProcessLauncher {
public:
    std::vector<std::string> launched;   // every path asked for, in order
    std::string failure;                 // returned by launch when not empty
    std::string launch(const std::string& programPath) override {
        launched.push_back(programPath);
        return failure;
    }
};

// A toolkit without windows: it records what each form's view was told.
class FakeView;
class FakeFormHost : public forms::FormHost {
public:
    double twipsPerPixel = 15;
    bool ended = false;
    std::vector<std::string> log;   // "create frmMain", "show frmAbout", "popup file default=openmain", ...
    std::map<const forms::Form*, FakeView*> views;
    std::uintptr_t nextHandle = 0x1000;

    std::unique_ptr<forms::FormView> createView(forms::Form& form) override;
    double twipsPerPixelX() const override { return twipsPerPixel; }
    void endProgram() override {
        ended = true;
        log.push_back("end");
    }
};

class FakeView : public forms::FormView {
public:
    FakeView(FakeFormHost& host, forms::Form& form, std::uintptr_t handle);
    ~FakeView() override;
    void controlChanged(forms::Control& control, forms::Property property) override;
    void formChanged(forms::Property property) override;
    void show() override;
    void hide() override;
    void popupMenu(forms::MenuItem& menu, forms::MenuItem* defaultItem) override;
    std::uintptr_t handle() const override { return handle_; }

    bool shown = false;
    std::vector<std::string> changes;   // "Slider1.Value", ...

private:
    FakeFormHost& host_;
    forms::Form& form_;
    std::uintptr_t handle_;
};

// All fakes together, and the Platform bundle that points at them.
struct FakePlatform {
    FakeMemory memory;
    FakeBlocks blocks;
    FakeTray tray;
    FakeSettings settings;
    FakeRun run;
    FakeSession session;
    FakeHelp help;
    FakeMessages messages;
    FakeProgram program;
    FakeFormHost forms;
    Platform platform{memory, blocks, tray,     settings, run,
                      session, help,  messages, program,  forms};
};

}  // namespace fakes
