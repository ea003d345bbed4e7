#pragma once
#include <string>

namespace tarvesk {

// Starts a program, shown normal and activated, without arguments and without waiting.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Returns an empty text on success, otherwise a description of the failure.
    virtual std::string launch(const std::string& programPath) = 0;
};

}  // namespace tarvesk
