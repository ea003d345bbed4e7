#include "settings/Conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tarvesk {

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
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') compact += c;
    std::string number;
    size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) number += compact[i++];
    bool dot = false;
    bool digits = false;
    while (i < compact.size()) {
        char c = compact[i];
        if (c >= '0' && c <= '9') { number += c; digits = true; }
        else if (c == '.' && !dot) { number += c; dot = true; }
        else break;
        ++i;
    }
    if (!digits) return 0;
    if (i < compact.size() && (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) exponent += compact[j++];
        bool expDigits = false;
        while (j < compact.size() && compact[j] >= '0' && compact[j] <= '9') { exponent += compact[j++]; expDigits = true; }
        if (expDigits) number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::string NumberText(double value, char decimalSeparator) {
    if (std::isnan(value)) return "0";
    if (std::isinf(value)) value = value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    char buffer[64];
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15G", value);
    }
    std::string text = buffer;
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    if (text == "-0") text = "0";
    return text;
}

std::optional<double> StrictNumber(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    size_t last = text.find_last_not_of(' ');
    std::string trimmed(text.substr(first, last - first + 1));
    char* end = nullptr;
    double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size()) return std::nullopt;
    return value;
}

std::uint8_t ToByte(double value) {
    if (std::isnan(value)) return 0;
    double r = RoundHalfEven(value);
    if (r < 0) return 0;
    if (r > 255) return 255;
    return static_cast<std::uint8_t>(r);
}

std::int32_t ToInt32(double value) {
    if (std::isnan(value)) return 0;
    double r = RoundHalfEven(value);
    if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

}  // namespace tarvesk
