#pragma once
#include "platform/MessageBox.h"

namespace tarvesk {

// A modal message box owned by the thread's active window.
class Win32MessageBox : public MessageBoxService {
public:
    void show(const std::string& text, const std::string& title, unsigned style) override;
};

}  // namespace tarvesk
