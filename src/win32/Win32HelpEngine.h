#pragma once
#include "platform/HelpEngine.h"

namespace tarvesk {

// Opens the help file with the system's WinHelp engine where there is one; elsewhere
// (Windows from Vista on) opens the HTML page beside the help file in the user's browser.
class Win32HelpEngine : public HelpEngine {
public:
    void showContents(std::uintptr_t owner, const std::string& helpFile) override;
};

}  // namespace tarvesk
