// CASE_TRACE(what): the case a loop is on, printed with every failure made while it is in
// scope, in helpers too. It does what GoogleTest's SCOPED_TRACE does, which these tests do
// not use: under Windows GoogleTest keeps that trace per thread and starts a watcher thread
// at a process's first SCOPED_TRACE, and Wine's 32-bit loader now and then crashes (SIGSEGV)
// when a process ends while a thread it has just created is still starting; these tests run
// one process per test, each a few milliseconds long. The tests assert on their main thread
// only, so one stack serves.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace casetrace {

// The cases now in scope, outermost first.
std::vector<std::string>& Stack();

class Scope {
public:
    template <typename T>
    explicit Scope(const T& what) {
        std::ostringstream text;
        text << what;
        Stack().push_back(text.str());
    }
    ~Scope() { Stack().pop_back(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

}  // namespace casetrace

#define CASE_TRACE_JOIN2(a, b) a##b
#define CASE_TRACE_JOIN(a, b) CASE_TRACE_JOIN2(a, b)
#define CASE_TRACE(what) ::casetrace::Scope CASE_TRACE_JOIN(case_trace_, __LINE__)(what)
