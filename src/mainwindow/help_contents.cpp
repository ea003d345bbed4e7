#include "mainwindow/help_contents.h"

namespace tarvesk {

namespace {

constexpr unsigned long kFirstWindowsWithoutWinHelp = 6;   // Vista

}  // namespace

std::string HtmlPageBeside(std::string_view helpFile) {
    const auto separator = helpFile.find_last_of("\\/:");
    const std::size_t nameBegin = separator == std::string_view::npos ? 0 : separator + 1;
    const auto dot = helpFile.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > nameBegin;
    return std::string(hasExtension ? helpFile.substr(0, dot) : helpFile) + ".html";
}

void ShowHelpContents(HelpEngine& help, std::uintptr_t owner, const std::string& helpFile) {
    if (help.windowsMajorVersion() < kFirstWindowsWithoutWinHelp &&
        help.winHelpContents(owner, helpFile) && help.winHelpViewerShown())
        return;
    help.openDocument(owner, HtmlPageBeside(helpFile));
}

}  // namespace tarvesk
