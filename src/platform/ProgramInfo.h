#pragma once
#include <string>

namespace tarvesk {

// Facts about the running program and the user's environment.
class ProgramInfo {
public:
    virtual ~ProgramInfo() = default;
    // Folder of the program's executable, without a trailing separator unless it is a
    // drive's root (as "C:\").
    virtual std::string folder() = 0;
    // The user's decimal separator, used when numbers with fractions are written as text.
    virtual char decimalSeparator() = 0;
};

}  // namespace tarvesk
