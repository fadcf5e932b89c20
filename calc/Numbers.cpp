#include "calc/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace korvel {
namespace {

// The spaces a number may have around it or between its thousands: Unicode's space
// separators but the ogham mark, which is drawn. A tab is a blank too, but groups nothing.
constexpr std::string_view kSpaces[] = {" ",      "\u00A0", "\u2000", "\u2001", "\u2002", "\u2003",
                                        "\u2004", "\u2005", "\u2006", "\u2007", "\u2008", "\u2009",
                                        "\u200A", "\u202F", "\u205F", "\u3000"};
constexpr std::string_view kApostrophes[] = {"'", "\u2019"};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length in bytes of the space that starts at `at`, or 0.
std::size_t spaceAt(std::string_view text, std::size_t at) {
    if (at >= text.size() || (text[at] != ' ' && static_cast<unsigned char>(text[at]) < 0x80)) return 0;
    for (const std::string_view space : kSpaces) {
        if (text.substr(at).starts_with(space)) return space.size();
    }
    return 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    for (std::size_t length = 1; length != 0; at += length) {
        length = at < text.size() && text[at] == '\t' ? 1 : spaceAt(text, at);
    }
    return at;
}

// `stop` is the byte at which the reading stops.
[[noreturn]] void notANumber(std::string_view text, std::size_t stop) {
    throw NumberError(NumberProblem::NotANumber, std::string(text), stop);
}

// An overflow beyond the range on the side of `value`.
NumberError overflowTowards(double value, std::string text = {}) {
    NumberError error(NumberProblem::Overflow, std::move(text));
    error.belowZero = value < 0;
    return error;
}

double checkedResult(double r) {
    if (std::isnan(r)) throw NumberError(NumberProblem::InvalidOperation);
    if (std::isinf(r)) throw overflowTowards(r);
    return r;
}

double read(std::string_view text, NumberFormat format) {
    std::size_t i = skipBlanks(text, 0);
    const std::size_t n = text.size();

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
    i = skipBlanks(text, i);
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
        if (seenNonZero && leadPosition > 0) throw overflowTowards(negative ? -1 : 1, std::string(text));
        return negative ? -0.0 : 0.0;
    }
    if (result.ec != std::errc{} || result.ptr != normal.data() + normal.size()) notANumber(text, 0);
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

// The UTF-8 bytes of a character beyond ASCII.
std::string utf8(char32_t c) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (c < 0x800) return {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    if (c < 0x10000) return {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    return {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)),
            byte(0x80 | (c & 0x3F))};
}

// A thousands separator: the character that stands for its kind (a space or an apostrophe of
// any kind counts as ' ' or '\'', the locale's own as '*'), and its length in bytes.
struct Separator {
    char kind = 0;
    std::size_t length = 0;
};

Separator separatorAt(std::string_view text, std::size_t at, std::string_view localesOwn) {
    if (at >= text.size()) return {};
    if (text[at] == ',' || text[at] == '.') return {text[at], 1};
    if (const std::size_t length = spaceAt(text, at)) return {' ', length};
    for (const std::string_view apostrophe : kApostrophes) {
        if (text.substr(at).starts_with(apostrophe)) return {'\'', apostrophe.size()};
    }
    if (!localesOwn.empty() && text.substr(at).starts_with(localesOwn)) return {'*', localesOwn.size()};
    return {};
}

// Whether the text is a number with its digits grouped by one kind of separator, in threes
// ("1,500", "12.345.678", "1 500", "1'500") or in twos before the last three, as Indian numbers
// are written ("1,50,000"); decimals after another separator included. A user who groups
// thousands means another number than the one the same text could read as.
bool isGroupedNumber(std::string_view text, NumberFormat format) {
    // Only one that cannot clash with the number grammar: the ASCII ones are known anyway.
    const std::string localesOwn = format.groupSeparator >= 0x80 ? utf8(format.groupSeparator) : "";
    const std::size_t n = text.size();
    const auto digitsFrom = [&](std::size_t at) {
        std::size_t end = at;
        while (end < n && isDigit(text[end])) ++end;
        return end - at;
    };
    std::size_t i = skipBlanks(text, 0);
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t lead = digitsFrom(i);
    if (lead == 0 || lead > 3) return false;
    i += lead;
    const Separator first = separatorAt(text, i, localesOwn);
    std::size_t groups = 0;
    std::size_t group = 0;  // the digits of the last group
    bool threes = true;     // every group before the last is of three digits
    bool twos = lead <= 2;  // ... of two digits
    for (Separator s = first; s.length != 0 && s.kind == first.kind; s = separatorAt(text, i, localesOwn)) {
        const std::size_t digits = digitsFrom(i + s.length);
        if (digits == 0) break;
        if (groups++ > 0) {
            threes = threes && group == 3;
            twos = twos && group == 2;
        }
        group = digits;
        i += s.length + digits;
    }
    if (groups == 0 || group != 3 || !(threes || twos)) return false;
    if (i < n && text[i] == format.decimalSeparator && first.kind != format.decimalSeparator)
        i += 1 + digitsFrom(i + 1);
    return skipBlanks(text, i) == n;
}

}  // namespace

double TextToNumber(std::string_view text, NumberFormat format) {
    try {
        return read(text, format);
    } catch (NumberError& error) {
        // "1,500" or "90.5" where "," is written: the sentence says how to write it.
        NumberFormat other = format;
        other.decimalSeparator = format.decimalSeparator == ',' ? '.' : ',';
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
    if (rounded < -2147483648.0 || rounded > 2147483647.0) throw overflowTowards(rounded);
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
