#pragma once
// Text <-> number conversions shared by every reader and writer of settings and of the
// Configuration dialog's boxes. Pure functions: the user's decimal separator is passed in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvesk {

// Nearest whole number, a value exactly halfway going to the even neighbour
// (2.5 -> 2, 1.5 -> 2, 127.5 -> 128). Infinities and not-a-number come back unchanged.
double RoundHalfEven(double value);

// The leading number of a text.
//  - Blanks, tabs and line feeds anywhere in the text are ignored (" 1 2 " reads 12).
//  - Decimal: an optional sign, digits with at most one "." (only "." is a decimal point,
//    whatever the locale; a "," ends the number), then an optional exponent: E or D (either
//    case), an optional sign and digits. Reading stops at the first character that does not
//    fit, so "12MB" reads 12 and "1E" reads 1.
//  - Radix prefixes, at the very start only (no sign before them): "&H" hexadecimal,
//    "&O" octal, and "&" directly followed by octal digits. Leading zeros aside, a value of
//    at most 4 hex digits (0xFFFF, octal 177777) is a 16-bit two's-complement number
//    ("&HFFFF" is -1, "&H7FFF" is 32767), up to 8 hex digits (octal 37777777777) a 32-bit one
//    ("&HFFFFFFFF" is -1, "&H10000" is 65536); a longer value is read as the plain positive
//    number its digits spell, never wrapped.
//  - Text that does not begin with a number gives 0.
//  - A number beyond the range of a double gives +/- infinity ("1e999" counts as larger than
//    any limit); one too small to represent gives 0. Never not-a-number.
double LeadingNumber(std::string_view text);

// The text of a number, as the program stores it and shows it in its boxes.
//  - Up to 15 significant digits, the last one rounded; trailing zeros of a fraction dropped.
//  - Plain notation when the rounded value lies in [0.0001, 1e15): whole numbers of up to 15
//    digits as plain digits with a leading "-" when negative ("12", "-3", "0"), fractions with
//    the given decimal separator ("10,5" for a comma, "0.0001").
//  - Otherwise scientific: one digit, the fraction, "E", the exponent's sign and at least two
//    digits ("1E+15", "1.5E+20", "1E-05", "-2.5E-07").
//  - Negative zero is "0"; not-a-number is "0". An infinity, and any value whose 15-digit
//    text would lie beyond the largest double, is written as the largest double rounded
//    towards zero ("1.79769313486231E+308"), so stored text always reads back as a finite number.
// For every finite x, LeadingNumber(NumberText(x, '.')) lies within 1e-14 of x, relatively.
std::string NumberText(double value, char decimalSeparator);

// The strict reading of a text: apart from surrounding blanks, tabs and line feeds, the
// whole text must be one number in the forms LeadingNumber reads (with no
// blanks inside it, and at least one digit in the number and in any exponent). Gives the same
// value LeadingNumber gives, or nothing when the text is not such a number ("", "abc", "1 2",
// "12MB", "1E", "-").
std::optional<double> StrictNumber(std::string_view text);

// Whole-number conversions: halves to even, out-of-range values (infinities included) to the
// nearest end of the range, not-a-number to 0.
std::uint8_t ToByte(double value);
std::int32_t ToInt32(double value);

}  // namespace tarvesk
