#pragma once
// Text <-> number conversions shared by every reader and writer of settings and of the
// Configuration dialog's boxes. Pure functions: the user's decimal separator is passed in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvesk {

// Nearest whole number, a value exactly halfway going to the even neighbour
// (2.5 -> 2, 1.5 -> 2, 127.5 -> 128).
double RoundHalfEven(double value);

// The leading number of a text: blanks, tabs and line feeds anywhere are ignored; then an
// optional sign, digits with at most one "." and an optional exponent (E or D); reading
// stops at the first character that does not fit. "&H" and "&O" prefixes read hexadecimal
// and octal. Text that does not begin with a number gives 0. A number too large for a
// double gives +/- infinity.
double LeadingNumber(std::string_view text);

// The text of a number: whole numbers of up to 15 digits as plain digits ("12", "-3", "0");
// fractions with up to 15 significant digits and the given decimal separator.
std::string NumberText(double value, char decimalSeparator);

// The whole text, apart from surrounding blanks, read as a number; nothing when it is not one.
std::optional<double> StrictNumber(std::string_view text);

// Whole-number conversions: halves to even, out-of-range values to the nearest end of
// the range, not-a-number to 0.
std::uint8_t ToByte(double value);
std::int32_t ToInt32(double value);

}  // namespace tarvesk
