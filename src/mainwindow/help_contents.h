#pragma once
// Help > Contents: which help opens depends only on what the system offers.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/HelpEngine.h"

namespace tarvesk {

// The HTML page that stands in for a help file where the system has no help engine: the
// same folder and name with the extension ".html" ("C:\T\tarvesk.hlp" gives
// "C:\T\tarvesk.html"). A name without an extension gets ".html" appended; a point in a
// folder's name is not an extension.
std::string HtmlPageBeside(std::string_view helpFile);

// From Windows Vista on (major version 6 and more) the WinHelp viewer is not part of the
// system: the HTML page beside the help file opens. On older Windows the help file opens
// in the WinHelp viewer, and the HTML page opens instead when the viewer cannot be
// started or shows no window.
void ShowHelpContents(HelpEngine& help, std::uintptr_t owner, const std::string& helpFile);

}  // namespace tarvesk
