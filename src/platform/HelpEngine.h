#pragma once
#include <cstdint>
#include <string>

namespace tarvesk {

// The system help engine.
class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // Opens the help file at its contents topic, on behalf of the window `owner`.
    virtual void showContents(std::uintptr_t owner, const std::string& helpFile) = 0;
};

}  // namespace tarvesk
