// Fuzz target for the text <-> number conversions: any text is read without a crash, the
// strict reading agrees with the leading-number reading, and every number written as text
// reads back as (nearly) the same number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "settings/Conversions.h"

using namespace tarvesk;

namespace {

void fail(const char* what, std::string_view text, double value) {
    std::fprintf(stderr, "broken rule: %s\n  text: \"%.*s\"\n  value: %.17g\n", what,
                 static_cast<int>(text.size()), text.data(), value);
    std::abort();
}

void checkWholeNumbers(double x) {
    std::uint8_t b = ToByte(x);
    std::int32_t i = ToInt32(x);
    if (std::isnan(x)) return;
    double r = RoundHalfEven(x);
    double expectedByte = r < 0 ? 0 : (r > 255 ? 255 : r);
    double expectedInt = r < -2147483648.0 ? -2147483648.0 : (r > 2147483647.0 ? 2147483647.0 : r);
    if (b != expectedByte) fail("ToByte is not the clamped rounded value", "", x);
    if (i != expectedInt) fail("ToInt32 is not the clamped rounded value", "", x);
    if (std::isfinite(x) && std::fabs(r - x) > 0.5) fail("rounding moved more than a half", "", x);
}

// Writing a number and reading it back.
void checkRoundTrip(double x) {
    std::string text = NumberText(x, '.');
    if (text.empty() || text.size() > 24) fail("NumberText length", text, x);
    double back = LeadingNumber(text);
    if (!std::isfinite(back)) fail("written text reads back as infinity", text, x);
    if (std::isfinite(x) && std::fabs(back - x) > std::fabs(x) * 1e-14)
        fail("written text reads back as another number", text, x);
    auto strict = StrictNumber(text);
    if (!strict || *strict != back) fail("written text is not a strict number", text, x);
    if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e15 &&
        text.find_first_not_of("-0123456789") != std::string::npos)
        fail("whole number not written as plain digits", text, x);

    std::string comma = NumberText(x, ',');
    if (comma.find('.') != std::string::npos) fail("comma text has a point", comma, x);
    for (char& c : comma)
        if (c == ',') c = '.';
    if (comma != text) fail("separator changes more than the separator", comma, x);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    double value = LeadingNumber(text);
    if (std::isnan(value)) fail("LeadingNumber gave not-a-number", text, value);
    auto strict = StrictNumber(text);
    if (strict && !(*strict == value)) fail("strict and leading readings differ", text, value);
    checkWholeNumbers(value);
    checkRoundTrip(value);

    // The same bytes taken as a double reach numbers no text of a fuzzer would spell.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkWholeNumbers(raw);
        if (!std::isnan(raw)) checkRoundTrip(raw);
    }
    return 0;
}
