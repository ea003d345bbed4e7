#include "case_trace.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace casetrace {

std::vector<std::string>& Stack() {
    static std::vector<std::string> stack;
    return stack;
}

namespace {

// Prints the cases in scope after GoogleTest's own report of each failure.
class Printer : public testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (!result.failed() || Stack().empty()) return;
        std::string cases;
        for (const std::string& name : Stack()) cases += (cases.empty() ? "" : " / ") + name;
        std::printf("  in case: %s\n", cases.c_str());
        std::fflush(stdout);
    }
};

// Registered before main runs the tests; GoogleTest owns and deletes the listener.
const bool registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new Printer);
    return true;
}();

}  // namespace
}  // namespace casetrace
