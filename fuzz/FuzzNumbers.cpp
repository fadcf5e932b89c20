// Texts and numbers through TextToNumber and NumberToText. The first byte picks the decimal
// separator; the rest is read as a text, and also as the bytes of a double and of a 32-bit
// integer, so that every value NumberToText can meet is reached.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/Numbers.h"
#include "ui/model/Failure.h"

namespace {

using korvel::Failure;
using korvel::FailureKind;
using korvel::NumberFormat;

[[noreturn]] void broken(const char* what, std::string_view detail) {
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// The double nearest to what the written text shows: the value rounded to 15 significant
// digits, worked out without the code under test. Where that rounding steps past the largest
// double, the text is rounded toward zero instead, to the largest 15-digit text that reads.
double shownValue(double value) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    double shown = 0;
    if (std::from_chars(buffer, written.ptr, shown).ec == std::errc::result_out_of_range) {
        return std::copysign(1.79769313486231e308, value);
    }
    return shown;
}

// A text NumberToText writes reads back as the number it shows, and writes the same again.
void checkWritten(double value, NumberFormat format) {
    std::string text;
    try {
        text = korvel::NumberToText(value, format);
    } catch (const Failure&) {
        if (std::isfinite(value)) broken("a finite value could not be written", "");
        return;
    }
    if (!std::isfinite(value)) broken("a value that is not finite was written", text);
    const double shown = shownValue(value);
    double back = 0;
    try {
        back = korvel::TextToNumber(text, format);
    } catch (const Failure&) {
        broken("a written text does not read back", text);
    }
    if (back != shown) broken("a written text reads back as another number", text);
    if (korvel::NumberToText(back, format) != text)
        broken("a written text, read back, is written differently", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const NumberFormat format{(data[0] & 1) != 0 ? ',' : '.'};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    try {
        const double value = korvel::TextToNumber(text, format);
        if (text.find_first_of("0123456789") == std::string_view::npos)
            broken("a text without digits was read", text);
        checkWritten(value, format);
    } catch (const Failure& f) {
        if (f.kind() != FailureKind::NotANumber && f.kind() != FailureKind::Overflow) {
            broken("reading a text failed other than as not a number or overflow", text);
        }
    }

    if (text.size() >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, text.data(), sizeof value);
        checkWritten(value, format);
    }
    if (text.size() >= sizeof(std::int32_t)) {
        std::int32_t value = 0;
        std::memcpy(&value, text.data(), sizeof value);
        const std::string written = korvel::NumberToText(value);
        if (korvel::TextToNumber(written, format) != static_cast<double>(value)) {
            broken("a written integer reads back as another number", written);
        }
    }
    return 0;
}
