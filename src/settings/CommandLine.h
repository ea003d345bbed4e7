#pragma once
// Paths of the two programs in their folder, and the command line the Run registration holds.
#include <string>
#include <string_view>

namespace tarvesk {

// A file in a folder: the folder, a separator unless it ends in one already (a drive's root,
// "C:\"), and the file's name. "C:\Tools" + "Tarvesk.exe" -> "C:\Tools\Tarvesk.exe".
std::string PathInFolder(std::string_view folder, std::string_view fileName);

// A program's path as a command line: in double quotes, so that Windows cannot take a path
// with blanks for a shorter program plus arguments ("C:\Program Files\..." is otherwise
// read as C:\Program.exe). Quote characters, which no Windows path may contain, are dropped
// from the path first.
std::string QuotedCommandLine(std::string_view path);

// The agent's path in the program's folder ("C:\Tools" -> "C:\Tools\TarveskA.exe", and a
// drive's root "C:\" -> "C:\TarveskA.exe"), as a quoted command line.
std::string AgentCommandLine(std::string_view programFolder);

}  // namespace tarvesk
