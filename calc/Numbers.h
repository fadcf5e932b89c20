#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "form/WritingHint.h"

namespace korvel {

// Conversions between control texts and numbers, and the checked arithmetic that the
// calculators share. Nothing here reads the C locale: the decimal separator is passed in.

struct NumberFormat {
    char decimalSeparator = '.';
    // The locale's own thousands separator. Only a hint reads it: a number grouped with it, as
    // with ",", ".", a space or an apostrophe of any kind, is told to drop the grouping.
    char32_t groupSeparator = U',';
};

enum class NumberProblem : std::uint8_t {
    NotANumber,        // a text that cannot be read as a number, the empty text included
    DivisionByZero,    // 0 / 0 included
    Overflow,          // beyond the double range or the 32-bit range of a result
    InvalidOperation,  // a floating-point operation without a defined result
    DivisorTooSmall,   // a divisor that is not 0 but became 0 on the way: a step towards it underflowed
};

// A text that could not be read, or a step that could not be calculated. Knows nothing of
// the form's controls: the step that reads a control's text turns it into the form's failure.
struct NumberError : std::exception {
    explicit NumberError(NumberProblem kind, std::string read = {}, std::size_t at = std::string::npos)
        : problem(kind), text(std::move(read)), stop(at) {}
    const char* what() const noexcept override { return "number error"; }

    NumberProblem problem;
    std::string text;        // the text read, for NotANumber and a typed Overflow
    std::size_t stop;        // the byte at which reading the text stops
    bool belowZero = false;  // an Overflow beyond the range below zero, not above it
    WritingHint hint = WritingHint::None;
    char decimalSeparator = '.';  // the one the hint asks for
};

// Reads blanks, an optional sign, decimal digits with at most one decimal separator,
// an optional exponent ("E" or "e", optional sign, digits) and blanks. A blank is a tab or a
// space of any kind, the no-break ones included: pasted numbers bring them, and a quote cannot
// show them apart from a plain space. Throws NumberError:
// NotANumber for anything else (the empty text included), Overflow beyond the double
// range. A magnitude below the double range reads as zero.
double TextToNumber(std::string_view text, NumberFormat format);

// Nearest 32-bit integer, ties to even. Throws NumberError(Overflow) outside the range.
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
// result throw NumberError; division by zero (0 / 0 included) throws DivisionByZero.
double Plus(double a, double b);
double Minus(double a, double b);
double Times(double a, double b);
double Divide(double a, double b);

// Truncating remainder with the sign of the dividend (487 Mod 16 = 7, -67 Mod 16 = -3).
inline std::int32_t Mod(std::int32_t a, std::int32_t b) { return a % b; }

}  // namespace korvel
