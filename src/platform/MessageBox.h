#pragma once
#include <string>

namespace tarvesk {

constexpr unsigned MessageBoxStop = 16;  // stop icon, OK button

// A modal message box; returns when the user has answered it.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual void show(const std::string& text, const std::string& title, unsigned style) = 0;
};

}  // namespace tarvesk
