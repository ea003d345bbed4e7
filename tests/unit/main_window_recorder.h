#pragma once
// A main window against the fakes, seen through a view that also records what a screen
// would show of the optimizer: the steps of ProgressBar2 and the switching of Timer1.
// Timer switches go into the fake allocator's log, so the order of timer and block shows
// in one list.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"

namespace testing_support {

class RecordingHost;

class RecordingView : public fakes::FakeView {
public:
    RecordingView(RecordingHost& host, forms::Form& form, std::uintptr_t handle);
    void controlChanged(forms::Control& control, forms::Property property) override;

private:
    RecordingHost& host_;
};

class RecordingHost : public fakes::FakeFormHost {
public:
    explicit RecordingHost(std::vector<std::string>& timeline) : timeline(timeline) {}
    std::unique_ptr<forms::FormView> createView(forms::Form& form) override {
        log.push_back("create " + form.name());
        return std::make_unique<RecordingView>(*this, form, nextHandle++);
    }

    std::vector<std::string>& timeline;   // "Timer1 off", "Timer1 on", interleaved
    std::vector<float> progress;          // every value ProgressBar2 was set to
    float progressMax = 0;
};

inline RecordingView::RecordingView(RecordingHost& host, forms::Form& form, std::uintptr_t handle)
    : FakeView(host, form, handle), host_(host) {}

inline void RecordingView::controlChanged(forms::Control& control, forms::Property property) {
    if (control.name() == "ProgressBar2") {
        // Kept as numbers only: a large request makes hundreds of thousands of steps.
        auto& bar = static_cast<forms::ProgressBar&>(control);
        if (property == forms::Property::Value) host_.progress.push_back(bar.value());
        if (property == forms::Property::Range) host_.progressMax = bar.max();
        return;
    }
    FakeView::controlChanged(control, property);
    if (control.name() == "Timer1" && property == forms::Property::Enabled) {
        host_.timeline.push_back(control.enabled() ? "Timer1 on" : "Timer1 off");
    }
}

// The main window with fakes; `fp.memory.figures` holds the machine's memory.
struct MainWindow {
    fakes::FakePlatform fp;
    RecordingHost host{fp.blocks.log};
    tarvesk::Platform platform{fp.memory, fp.blocks,   fp.tray,    fp.settings, fp.run,
                               fp.session, fp.help,    fp.messages, fp.program, host};
    tarvesk::modMain shared;
    tarvesk::frmMain f{platform, shared};

    static constexpr std::uint64_t MB = 1048576;

    // Loads the window on a machine with `totalBytes` of memory, then forgets what the
    // load did.
    void load(std::uint64_t totalBytes = 128 * MB, std::uint64_t availBytes = 50 * MB) {
        fp.memory.figures = {totalBytes, availBytes};
        f.load();
        forget();
    }
    void forget() {
        fp.tray.calls.clear();
        fp.blocks.requests.clear();
        fp.blocks.log.clear();
        host.log.clear();
        host.progress.clear();
        host.progressMax = 0;
    }
    // One tick with `availBytes` free.
    void tick(std::uint64_t availBytes) {
        fp.memory.figures.availPhys = availBytes;
        f.Timer1_Timer();
    }
};

// The 64 bytes of a tooltip field holding `text` and its NUL, blanks after.
inline std::array<char, 64> TipField(const std::string& text) {
    std::array<char, 64> field;
    field.fill(' ');
    std::copy(text.begin(), text.end(), field.begin());
    field[text.size()] = '\0';
    return field;
}

}  // namespace testing_support
