#pragma once
#include <cstdint>
#include <string>

namespace tarvesk {

// What the system offers for showing help: its version, the WinHelp viewer, and the
// program the user has for opening a page.
class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // The major version of Windows: 4 for 95, 98, ME and NT 4.0, 5 for 2000 and XP, 6 and
    // more from Vista on; 0 when the system does not say.
    virtual unsigned long windowsMajorVersion() = 0;
    // Asks WinHelp to show the help file at its contents topic, on behalf of the window
    // `owner`. False when WinHelp reports that it failed (no viewer could be started).
    virtual bool winHelpContents(std::uintptr_t owner, const std::string& helpFile) = 0;
    // A WinHelp viewer window is on the screen.
    virtual bool winHelpViewerShown() = 0;
    // Opens a document with the program the user has for its kind (a page in the browser).
    virtual void openDocument(std::uintptr_t owner, const std::string& path) = 0;
};

}  // namespace tarvesk
