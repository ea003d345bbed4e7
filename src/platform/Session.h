#pragma once
#include <cstdint>

namespace tarvesk {

enum class SessionEnd : std::uint32_t { LogOff = 0, ShutDown = 1, Reboot = 2 };

// Asks Windows to end the session. No force flag; a refusal is silent.
class SessionControl {
public:
    virtual ~SessionControl() = default;
    virtual void exitWindows(SessionEnd how) = 0;
};

}  // namespace tarvesk
