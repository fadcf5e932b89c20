#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// Conversions between control texts and numbers, and the checked arithmetic that the
// calculators share. Nothing here reads the C locale: the decimal separator is passed in.

struct NumberFormat {
    char decimalSeparator = '.';
};

// Reads blanks, an optional sign, decimal digits with at most one decimal separator,
// an optional exponent ("E" or "e", optional sign, digits) and blanks. Throws Failure:
// NotANumber for anything else (the empty text included), Overflow beyond the double
// range. A magnitude below the double range reads as zero.
double TextToNumber(std::string_view text, NumberFormat format);

// Nearest 32-bit integer, ties to even. Throws Failure(Overflow) outside the range.
std::int32_t RoundToLong(double value);

// Plain decimal digits, "-" before a negative value.
std::string NumberToText(std::int32_t value);

// Rounded to 15 significant digits; no trailing zeros in the fraction. Plain decimal
// from 1E-05 up to below 1E+15, scientific ("1.5E+20") beyond, which TextToNumber reads.
std::string NumberToText(double value, NumberFormat format);

// Only the text of no characters is empty; blanks are not.
inline bool IsEmptyText(std::string_view text) { return text.empty(); }

// 2 / 15 in single precision: 0.13333334 widened to double.
double TwoFifteenthsSingle();

// Double operations checked as the calculators need them. Overflow and an undefined
// result throw Failure; division by zero (0 / 0 included) throws DivisionByZero.
double Plus(double a, double b);
double Minus(double a, double b);
double Times(double a, double b);
double Divide(double a, double b);

// Truncating remainder with the sign of the dividend (487 Mod 16 = 7, -67 Mod 16 = -3).
inline std::int32_t Mod(std::int32_t a, std::int32_t b) { return a % b; }

}  // namespace korvel
