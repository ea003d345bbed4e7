#include "settings/CommandLine.h"

namespace tarvesk {

std::string QuotedCommandLine(std::string_view path) {
    std::string line = "\"";
    for (char c : path)
        if (c != '"') line.push_back(c);
    line.push_back('"');
    return line;
}

std::string AgentCommandLine(std::string_view programFolder) {
    std::string path(programFolder);
    if (path.empty() || (path.back() != '\\' && path.back() != '/')) path.push_back('\\');
    path += "TarveskA.exe";
    return QuotedCommandLine(path);
}

}  // namespace tarvesk
