#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace tarvesk {

// An open handle on the machine-wide Run key; closed when destroyed.
class RunKey {
public:
    virtual ~RunKey() = default;
    // True when a value named "Tarvesk" exists (any type, any data).
    virtual bool isRegistered() = 0;
    virtual void set(std::string_view commandLine) = 0;  // REG_SZ value "Tarvesk"
    virtual void remove() = 0;                            // deleting an absent value is fine
};

// Opens the Run key. `nullptr` with `writable` false when it cannot be opened for writing.
struct RunKeyOpenResult {
    std::unique_ptr<RunKey> key;   // may be null when the key cannot be opened at all
    bool writable = false;
};

class RunRegistration {
public:
    virtual ~RunRegistration() = default;
    virtual RunKeyOpenResult open() = 0;
};

}  // namespace tarvesk
