// Texts and numbers through TextToNumber and NumberToText. The first byte picks the decimal
// separator, a sign and whether the locale groups thousands with a separator of its own; the rest is read as
// a text, as the digits of a whole number, and as the bytes of a double and of a 32-bit integer, so that
// every value NumberToText can meet is reached. Written texts are checked against what they must say, not
// against a second writer.

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/Numbers.h"

namespace {

using korvel::NumberError;
using korvel::NumberFormat;
using korvel::NumberProblem;

[[noreturn]] void broken(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// How far a nonzero value may be from its text: half a unit in the 15th significant digit; a
// whole unit at the top of the double range, where the text is rounded toward zero to read.
long double allowedError(double value) {
    const long double magnitude = std::fabs(static_cast<long double>(value));
    auto decade = static_cast<int>(std::floor(std::log10(magnitude)));
    if (std::pow(10.0L, decade) > magnitude) --decade;  // log10 may be off near a power of ten
    if (std::pow(10.0L, decade + 1) <= magnitude) ++decade;
    const long double unit = std::pow(10.0L, decade - 14);
    return magnitude > 1.79769313486231e308L ? unit : unit / 2;
}

// A text NumberToText writes uses only the chosen separator, has at most 15 significant
// digits and no trailing zero in its fraction, is the value rounded to 15 significant digits
// (give or take half a step of the doubles it reads back as), and writes the same again.
void checkWritten(double value, NumberFormat format) {
    std::string text;
    try {
        text = korvel::NumberToText(value, format);
    } catch (const NumberError&) {
        if (std::isfinite(value)) broken("a finite value could not be written", "");
        return;
    }
    if (!std::isfinite(value)) broken("a value that is not finite was written", text);
    const char separator = format.decimalSeparator;
    if (text.find_first_not_of(std::string("-+E0123456789") + separator) != std::string::npos)
        broken("a written text holds another character than the separator chosen", text);
    std::string_view digits = std::string_view(text).substr(0, text.find('E'));
    if (digits.find(separator) != std::string::npos && (digits.back() == '0' || digits.back() == separator))
        broken("a written fraction ends in a zero or in nothing", text);
    digits.remove_prefix(std::min(digits.find_first_of("123456789"), digits.size()));
    if (digits.size() - (digits.find(separator) != std::string::npos ? 1 : 0) > 15)
        broken("a written text has more than 15 significant digits", text);
    double back = 0;
    try {
        back = korvel::TextToNumber(text, format);
    } catch (const NumberError&) {
        broken("a written text does not read back", text);
    }
    const long double step = std::fabs(back - std::nextafter(back, 0.0));
    if (value == 0 ? back != 0
                   : std::fabs(back - static_cast<long double>(value)) > allowedError(value) + step / 2)
        broken("a written text is not the value rounded to 15 significant digits", text);
    if (korvel::NumberToText(back, format) != text)
        broken("a written text, read back, is written differently", text);
}

// A sign and up to 18 digits take the whole-number path of the reader: it must give the
// double the general reader gives, bit for bit, -0 included.
void checkWholeNumber(std::uint8_t choice, std::string_view bytes, NumberFormat format) {
    std::string text = (choice & 2) != 0 ? "-" : (choice & 4) != 0 ? "+" : "";
    for (std::size_t k = 0; k < bytes.size() && k < 18; ++k)
        text += static_cast<char>('0' + static_cast<unsigned char>(bytes[k]) % 10);
    double expected = 0;
    std::from_chars(text.data() + (text[0] == '+' ? 1 : 0), text.data() + text.size(), expected);
    if (std::bit_cast<std::uint64_t>(korvel::TextToNumber(text, format)) !=
        std::bit_cast<std::uint64_t>(expected))
        broken("a whole number reads otherwise than through the general reader", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const NumberFormat format{(data[0] & 1) != 0 ? ',' : '.', (data[0] & 8) != 0 ? U'\u066C' : U','};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    try {
        const double value = korvel::TextToNumber(text, format);
        if (text.find_first_of("0123456789") == std::string_view::npos)
            broken("a text without digits was read", text);
        checkWritten(value, format);
    } catch (const NumberError& e) {
        if (e.problem != NumberProblem::NotANumber && e.problem != NumberProblem::Overflow)
            broken("reading a text failed other than as not a number or overflow", text);
    }

    if (!text.empty()) checkWholeNumber(data[0], text, format);
    if (text.size() >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, text.data(), sizeof value);
        checkWritten(value, format);
    }
    if (text.size() >= sizeof(std::int32_t)) {
        std::int32_t value = 0;
        std::memcpy(&value, text.data(), sizeof value);
        const std::string written = korvel::NumberToText(value);
        if (korvel::TextToNumber(written, format) != static_cast<double>(value))
            broken("a written integer reads back as another number", written);
    }
    return 0;
}
