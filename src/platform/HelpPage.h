#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvesk {

// The HTML page that stands in for a help file where the system has no help engine: the
// same folder and name with the extension ".html" ("C:\T\tarvesk.hlp" gives
// "C:\T\tarvesk.html"). A name without an extension gets ".html" appended; a point in a
// folder's name is not an extension.
inline std::string HtmlPageBeside(std::string_view helpFile) {
    const auto separator = helpFile.find_last_of("\\/:");
    const std::size_t nameBegin = separator == std::string_view::npos ? 0 : separator + 1;
    const auto dot = helpFile.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > nameBegin;
    return std::string(hasExtension ? helpFile.substr(0, dot) : helpFile) + ".html";
}

}  // namespace tarvesk
