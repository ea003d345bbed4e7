#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace tarvesk {

// The two places Windows reads at log-on: the machine-wide Run key (every user's log-on) and
// the current user's own (this user's log-on only).
enum class RunPlace { Machine, User };

// An open handle on one Run key; closed when destroyed.
class RunKey {
public:
    virtual ~RunKey() = default;
    // True when a value named "Tarvesk" exists (any type, any data).
    virtual bool isRegistered() = 0;
    virtual void set(std::string_view commandLine) = 0;  // REG_SZ value "Tarvesk"
    virtual void remove() = 0;                            // deleting an absent value is fine
};

// An opened Run key, and whether this user may change its values.
struct RunKeyOpenResult {
    std::unique_ptr<RunKey> key;   // null when the key cannot be opened at all
    bool writable = false;
};

class RunRegistration {
public:
    virtual ~RunRegistration() = default;
    // Opens the place's Run key for query, set and delete; where that is refused, for query
    // only (`writable` false).
    virtual RunKeyOpenResult open(RunPlace place) = 0;
};

}  // namespace tarvesk
