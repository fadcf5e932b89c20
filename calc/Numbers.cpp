#include "calc/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace korvel {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// `stop` is the byte at which the reading stops.
[[noreturn]] void notANumber(std::string_view text, std::size_t stop) {
    throw NumberError(NumberProblem::NotANumber, std::string(text), stop);
}

double checkedResult(double r) {
    if (std::isnan(r)) throw NumberError(NumberProblem::InvalidOperation);
    if (std::isinf(r)) throw NumberError(NumberProblem::Overflow);
    return r;
}

double read(std::string_view text, NumberFormat format) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;

    // Rebuilt in the form from_chars reads: no blanks, no plus sign, '.' as separator.
    std::string normal;
    normal.reserve(n - i + 1);
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (negative) normal += '-';

    // Decimal position of the leading significant digit, to tell an overflow from an
    // underflow when from_chars reports the value out of range.
    long long leadPosition = 0;
    bool seenNonZero = false;
    std::size_t digits = 0;
    for (; i < n && isDigit(text[i]); ++i, ++digits) {
        normal += text[i];
        if (seenNonZero || text[i] != '0') {
            seenNonZero = true;
            ++leadPosition;
        }
    }
    if (i < n && text[i] == format.decimalSeparator) {
        normal += '.';
        for (++i; i < n && isDigit(text[i]); ++i, ++digits) {
            normal += text[i];
            if (!seenNonZero) {
                if (text[i] == '0') {
                    --leadPosition;
                } else {
                    seenNonZero = true;
                }
            }
        }
    }
    if (digits == 0) notANumber(text, i);

    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            normal += text[i];
            ++i;
        }
        long long exponent = 0;
        const std::size_t first = i;
        for (; i < n && isDigit(text[i]); ++i) {
            normal += text[i];
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (i == first) notANumber(text, i);
        leadPosition += negativeExponent ? -exponent : exponent;
    }
    while (i < n && isBlank(text[i])) ++i;
    if (i != n) notANumber(text, i);

    // A whole number (only a sign and digits) of up to 18 digits, what start-up and most typing
    // give, is exact in 64 bits and converts to the nearest double, as the general reader would.
    if (normal.size() == digits + (negative ? 1 : 0) && digits <= 18) {
        std::int64_t whole = 0;
        for (std::size_t k = negative ? 1 : 0; k < normal.size(); ++k) whole = whole * 10 + (normal[k] - '0');
        return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (seenNonZero && leadPosition > 0) throw NumberError(NumberProblem::Overflow, std::string(text));
        return negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc{} || result.ptr != normal.data() + normal.size()) notANumber(text, 0);
    if (std::isinf(value)) throw NumberError(NumberProblem::Overflow, std::string(text));
    return value;
}

// Whether the text is written as a number, in range or not.
bool isNumberText(std::string_view text, NumberFormat format) {
    try {
        read(text, format);
        return true;
    } catch (const NumberError& error) {
        return error.problem != NumberProblem::NotANumber;
    }
}

// Whether the text is a number with its digits grouped in threes by "," or "." ("1,500",
// "12.345.678"), decimals after another separator included. A user who groups thousands
// means another number than the one the same text could read as.
bool isGroupedNumber(std::string_view text, NumberFormat format) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto digitsFrom = [&](std::size_t at) {
        std::size_t end = at;
        while (end < n && isDigit(text[end])) ++end;
        return end - at;
    };
    while (i < n && isBlank(text[i])) ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t lead = digitsFrom(i);
    if (lead == 0 || lead > 3 || i + lead == n) return false;
    i += lead;
    const char group = text[i];
    if (group != ',' && group != '.') return false;
    std::size_t groups = 0;
    for (; i < n && text[i] == group && digitsFrom(i + 1) == 3; i += 4) ++groups;
    if (groups == 0) return false;
    if (i < n && text[i] == format.decimalSeparator && group != format.decimalSeparator)
        i += 1 + digitsFrom(i + 1);
    while (i < n && isBlank(text[i])) ++i;
    return i == n;
}

}  // namespace

double TextToNumber(std::string_view text, NumberFormat format) {
    try {
        return read(text, format);
    } catch (NumberError& error) {
        // "1,500" or "90.5" where "," is written: the sentence says how to write it.
        const NumberFormat other{format.decimalSeparator == ',' ? '.' : ','};
        if (error.problem != NumberProblem::NotANumber) throw;
        if (isGroupedNumber(text, format)) {
            error.hint = WritingHint::NoThousandsGrouping;
        } else if (isNumberText(text, other)) {
            error.hint = WritingHint::DecimalSeparator;
        }
        error.decimalSeparator = format.decimalSeparator;
        throw;
    }
}

std::int32_t RoundToLong(double value) {
    if (std::isnan(value)) throw NumberError(NumberProblem::InvalidOperation);
    const double down = std::floor(value);
    const double fraction = value - down;  // exact for every double
    double rounded = down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0)) rounded = down + 1.0;
    if (rounded < -2147483648.0 || rounded > 2147483647.0) throw NumberError(NumberProblem::Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::string NumberToText(std::int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string NumberToText(double value, NumberFormat format) {
    checkedResult(value);
    if (value == 0.0) return "0";  // -0 too

    // d.dddddddddddddde±x: the value correctly rounded to 15 significant digits.
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;
    for (char c : sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (c != '.') digits += c;
    }
    // At the top of the double range, rounding to 15 digits can step past the largest double;
    // round toward zero there instead, so that the text still reads back.
    double roundedBack = 0;
    if (std::from_chars(sci.data(), sci.data() + sci.size(), roundedBack).ec ==
        std::errc::result_out_of_range) {
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            if (*digit != '0') {
                --*digit;
                break;
            }
            *digit = '9';
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    const char* expBegin = sci.data() + e + 1;
    if (*expBegin == '+') ++expBegin;
    std::from_chars(expBegin, sci.data() + sci.size(), exponent);

    std::string out = negative ? "-" : "";
    const char sep = format.decimalSeparator;
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) out += '0';
        out += NumberToText(static_cast<std::int32_t>(magnitude));
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out += digits;
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out += sep;
            out.append(digits, integerDigits);
        }
    } else {
        out += '0';
        out += sep;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

double TwoFifteenthsSingle() {
    constexpr float kRatio = 2.0F / 15.0F;  // rounded to single, then widened exactly
    return static_cast<double>(kRatio);
}

double Plus(double a, double b) { return checkedResult(a + b); }
double Minus(double a, double b) { return checkedResult(a - b); }
double Times(double a, double b) { return checkedResult(a * b); }

double Divide(double a, double b) {
    if (b == 0.0) throw NumberError(NumberProblem::DivisionByZero);
    return checkedResult(a / b);
}

}  // namespace korvel
