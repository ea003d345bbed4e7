#include "settings/Conversions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvesk {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Where a scan of a number stopped and what it read.
struct Scan {
    double value = 0;
    std::size_t end = 0;   // index of the first character not taken
    bool found = false;    // at least one digit was read
};

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "&H..." / "&O..." / "&<octal digits>", starting at the "&".
Scan scanRadix(std::string_view s) {
    Scan scan;
    std::size_t i = 1;
    int base = 8;
    if (i < s.size() && (s[i] == 'h' || s[i] == 'H')) {
        base = 16;
        ++i;
    } else if (i < s.size() && (s[i] == 'o' || s[i] == 'O')) {
        ++i;
    }
    std::uint64_t whole = 0;   // exact while it fits
    double large = 0;          // the value once it no longer fits in 64 bits
    bool fits = true;
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() / 16;
    for (; i < s.size(); ++i) {
        int digit = hexDigitValue(s[i]);
        if (digit < 0 || digit >= base) break;
        scan.found = true;
        if (fits && whole <= limit) {
            whole = whole * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        } else {
            if (fits) large = static_cast<double>(whole);
            fits = false;
            large = large * base + digit;
        }
    }
    scan.end = i;
    if (!scan.found) return Scan{};
    if (!fits) {
        scan.value = large;   // grows to infinity for absurdly long texts, never wraps
    } else if (whole <= 0xFFFF) {
        scan.value = whole >= 0x8000 ? static_cast<double>(whole) - 65536.0 : static_cast<double>(whole);
    } else if (whole <= 0xFFFFFFFF) {
        scan.value = whole >= 0x80000000 ? static_cast<double>(whole) - 4294967296.0
                                         : static_cast<double>(whole);
    } else {
        scan.value = static_cast<double>(whole);
    }
    return scan;
}

// Significant digits kept for the exact conversion; a double needs at most 767 of them to be
// rounded correctly, the rest only matter as "something non-zero follows".
constexpr std::size_t kMaxDigits = 780;
// Exponents are read up to this size; anything larger already over- or underflows.
constexpr std::int64_t kMaxExponent = 100000000;

// Sign, digits with at most one ".", optional exponent (E or D).
Scan scanDecimal(std::string_view s) {
    Scan scan;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    std::string digits;           // significant digits, without leading zeros
    std::int64_t exponent = 0;    // value = digits * 10^exponent
    bool dot = false;
    bool droppedNonZero = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c == '.' && !dot) {
            dot = true;
            continue;
        }
        if (!isDigit(c)) break;
        scan.found = true;
        if (digits.empty() && c == '0') {
            if (dot) --exponent;
        } else if (digits.size() < kMaxDigits) {
            digits.push_back(c);
            if (dot) --exponent;
        } else {
            if (!dot) ++exponent;
            if (c != '0') droppedNonZero = true;
        }
    }
    if (!scan.found) return Scan{};

    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
        std::int64_t written = 0;
        bool any = false;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            any = true;
            if (written < kMaxExponent) written = written * 10 + (s[j] - '0');
        }
        if (any) {
            exponent += negativeExponent ? -written : written;
            i = j;
        }
    }
    scan.end = i;

    if (digits.empty()) return scan;   // zero, whatever the exponent
    if (droppedNonZero) {   // one more digit, far below the kept ones
        digits.push_back('1');
        --exponent;
    }

    // The number lies in [10^(order-1), 10^order).
    std::int64_t order = exponent + static_cast<std::int64_t>(digits.size());
    double magnitude;
    if (order > 310) {
        magnitude = kInfinity;
    } else if (order < -330) {
        magnitude = 0;
    } else {
        // Digits and an exponent only, so the C library reads it the same in every locale.
        std::string text = digits + "e" + std::to_string(exponent);
        char* end = nullptr;
        errno = 0;
        magnitude = std::strtod(text.c_str(), &end);
        if (errno == ERANGE && (magnitude == 0 || std::isinf(magnitude)))
            magnitude = order > 0 ? kInfinity : 0;
        else if (end != text.c_str() + text.size())
            magnitude = 0;
    }
    scan.value = negative && magnitude != 0 ? -magnitude : magnitude;
    return scan;
}

Scan scanNumber(std::string_view s) {
    if (!s.empty() && s[0] == '&') return scanRadix(s);
    return scanDecimal(s);
}

}  // namespace

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

double LeadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isIgnoredBlank(c)) compact.push_back(c);
    return scanNumber(compact).value;
}

std::optional<double> StrictNumber(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isIgnoredBlank(text[first])) ++first;
    while (last > first && isIgnoredBlank(text[last - 1])) --last;
    std::string_view trimmed = text.substr(first, last - first);
    Scan scan = scanNumber(trimmed);
    if (!scan.found || scan.end != trimmed.size()) return std::nullopt;
    return scan.value;
}

std::string NumberText(double value, char decimalSeparator) {
    if (std::isnan(value)) return "0";
    constexpr double kLargest = std::numeric_limits<double>::max();
    if (std::isinf(value)) value = value > 0 ? kLargest : -kLargest;

    char buffer[64];
    int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text(buffer, length > 0 && length < static_cast<int>(sizeof buffer) ? length : 0);
    // An exponent has at least two digits and no more: "1e+15", "1e-05".
    if (auto e = text.find('e'); e != std::string::npos && e + 2 < text.size()) {
        std::size_t digits = e + 2;
        while (text.size() - digits > 2 && text[digits] == '0') text.erase(digits, 1);
    }
    if (text.empty() || text == "-0") return "0";

    // Rounded to 15 digits, the largest doubles would read back as infinity.
    if (std::fabs(value) > 1e308 && std::isinf(LeadingNumber(text)))
        text = value > 0 ? "1.79769313486231e+308" : "-1.79769313486231e+308";

    if (decimalSeparator == '\0') decimalSeparator = '.';
    for (char& c : text) {
        if (c == 'e') c = 'E';
        else if (c == '.') c = decimalSeparator;
    }
    return text;
}

std::uint8_t ToByte(double value) {
    if (std::isnan(value)) return 0;
    double r = RoundHalfEven(value);
    if (r <= 0) return 0;
    if (r >= 255) return 255;
    return static_cast<std::uint8_t>(r);
}

std::int32_t ToInt32(double value) {
    if (std::isnan(value)) return 0;
    double r = RoundHalfEven(value);
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    if (r <= kMin) return std::numeric_limits<std::int32_t>::min();
    if (r >= kMax) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

}  // namespace tarvesk
