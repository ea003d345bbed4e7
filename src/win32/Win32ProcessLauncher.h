#pragma once
#include "platform/ProcessLauncher.h"

namespace tarvesk {

// CreateProcessA with the full path as the application name and the same path, quoted,
// as the command line, so a folder with blanks cannot be read as a shorter program plus
// arguments. The new program starts shown normal and activated; nothing waits for it.
class Win32ProcessLauncher : public ProcessLauncher {
public:
    std::string launch(const std::string& programPath) override;
};

}  // namespace tarvesk
