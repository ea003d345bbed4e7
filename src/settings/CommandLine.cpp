#include "settings/CommandLine.h"

namespace tarvesk {

std::string PathInFolder(std::string_view folder, std::string_view fileName) {
    std::string path(folder);
    if (path.empty() || (path.back() != '\\' && path.back() != '/')) path.push_back('\\');
    path += fileName;
    return path;
}

std::string QuotedCommandLine(std::string_view path) {
    std::string line = "\"";
    for (char c : path)
        if (c != '"') line.push_back(c);
    line.push_back('"');
    return line;
}

std::string AgentCommandLine(std::string_view programFolder) {
    return QuotedCommandLine(PathInFolder(programFolder, "TarveskA.exe"));
}

}  // namespace tarvesk
