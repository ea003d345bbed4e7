#pragma once
#include "platform/HelpEngine.h"

namespace tarvesk {

// The system's version (GetVersionExA), its WinHelp viewer (WinHelpA and the viewer's
// window class) and the shell's "open" for pages.
class Win32HelpEngine : public HelpEngine {
public:
    unsigned long windowsMajorVersion() override;
    bool winHelpContents(std::uintptr_t owner, const std::string& helpFile) override;
    bool winHelpViewerShown() override;
    void openDocument(std::uintptr_t owner, const std::string& path) override;
};

}  // namespace tarvesk
