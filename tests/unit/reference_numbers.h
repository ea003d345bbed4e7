#pragma once
// Reference readings of the numbers typed into the Configuration dialog, written from the
// documented rules rather than from the program's code, so that tests compare the program
// with something it does not share: the C library reads the decimal digits, the default
// floating-point rounding (halves to even) makes whole numbers.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace reference {

inline bool IsDigitIn(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0' < base;
    if (base == 16) return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return false;
}

// The leading number of a text:
//  - blanks, tabs and line feeds anywhere are left out first;
//  - "&H" and hexadecimal digits, or "&O" or "&" and octal digits, at the very start: values
//    up to 0xFFFF are 16-bit two's complement, up to 0xFFFFFFFF 32-bit, larger ones positive;
//  - else an optional sign, digits with at most one point (at least one digit), and an
//    exponent (E or D, an optional sign, at least one digit) when one follows;
//  - 0 when the text begins with no number.
inline double LeadingNumber(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
    const std::size_t n = s.size();

    if (n > 0 && s[0] == '&') {
        std::size_t i = 1;
        int base = 8;
        if (i < n && (s[i] == 'H' || s[i] == 'h')) base = 16, ++i;
        else if (i < n && (s[i] == 'O' || s[i] == 'o')) ++i;
        double value = 0;
        bool any = false;
        for (; i < n && IsDigitIn(s[i], base); ++i) {
            any = true;
            const char c = s[i];
            const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
            value = value * base + digit;   // exact up to 2^53, which covers the 32-bit rule
        }
        if (!any) return 0;
        if (value <= 65535.0) return value >= 32768.0 ? value - 65536.0 : value;
        if (value <= 4294967295.0) return value >= 2147483648.0 ? value - 4294967296.0 : value;
        return value;
    }

    std::size_t i = 0;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        if (s[i] >= '0' && s[i] <= '9') digits = true;
        else if (s[i] == '.' && !point) point = true;
        else break;
    }
    if (!digits) return 0;
    std::string number = s.substr(0, i);
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t k = j;
        while (k < n && s[k] >= '0' && s[k] <= '9') ++k;
        if (k > j) number += "e" + s.substr(i + 1, k - i - 1);
    }
    errno = 0;
    return std::strtod(number.c_str(), nullptr);
}

// A number as the dialog's copies take it: the nearest whole number, halves to even,
// values beyond signed 32 bits at the nearest end.
inline std::int32_t WholeMegabytes(double value) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value)) return 0;
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::nearbyint(value));
}

// Does `stored` (written with the user's decimal `separator`) hold the number of `typed`?
// Fifteen significant digits are kept; a number beyond a double is stored as the largest
// one, which reads back as a finite number of the same sign.
inline bool StoresTheSameNumber(const std::string& stored, std::string_view typed, char separator) {
    std::string readable = stored;
    for (char& c : readable)
        if (c == separator) c = '.';
    const double back = LeadingNumber(readable);
    const double value = LeadingNumber(typed);
    if (!std::isfinite(back)) return false;
    if (std::isinf(value)) return std::fabs(back) > 1e308 && std::signbit(back) == std::signbit(value);
    return std::fabs(back - value) <= std::fabs(value) * 1e-14 + 1e-300;
}

}  // namespace reference
