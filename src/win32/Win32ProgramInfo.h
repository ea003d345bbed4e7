#pragma once
#include "platform/ProgramInfo.h"

namespace tarvesk {

// The running executable's folder and the user's decimal separator.
class Win32ProgramInfo : public ProgramInfo {
public:
    // From GetModuleFileNameA, however long the path; "C:\" at a drive's root.
    std::string folder() override;
    // The user's locale's decimal separator when it is one printable character, else ".".
    char decimalSeparator() override;
};

}  // namespace tarvesk
