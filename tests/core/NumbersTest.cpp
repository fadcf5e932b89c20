#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <variant>

#include "calc/Numbers.h"

namespace korvel {
namespace {

// What f gives, or the kind of failure it throws.
template <class T>
std::variant<T, NumberProblem> outcome(auto&& f) {
    try {
        return f();
    } catch (const NumberError& error) {
        return error.problem;
    }
}

constexpr NumberFormat kDot{'.'};
constexpr NumberFormat kComma{','};
constexpr auto kNaN = NumberProblem::NotANumber;
constexpr auto kOverflow = NumberProblem::Overflow;

TEST(TextToNumber, ReadsTheNumberGrammarAndNothingElse) {
    const std::string tinyFraction = "0." + std::string(1000, '0') + "1";
    const struct {
        std::string text;
        std::variant<double, NumberProblem> expected;
        NumberFormat format = kDot;
    } rows[] = {
        // clang-format off
        {"720", 720.0}, {" 720 ", 720.0}, {"\t720\t", 720.0}, {"\u00A0720\u202F", 720.0}, {"-100", -100.0},
        {"\u3000-5\u2009", -5.0}, {"1\u00A0500", kNaN}, {"\u200B720", kNaN}, {"720\xC2", kNaN}, {"+5", 5.0},
        {"722.25", 722.25}, {"722,25", 722.25, kComma}, {".5", 0.5}, {"5.", 5.0}, {"007", 7.0},
        {"1.5E+20", 1.5e20}, {"1e-7", 1e-7}, {"0.05e2", 5.0}, {"123456789012345678", 123456789012345678.0},
        {"-9999999999999999999", -1e19}, {"1e-400", 0.0}, {tinyFraction, 0.0}, {tinyFraction + "e400", 0.0},
        {"", kNaN}, {" ", kNaN}, {"-", kNaN}, {"+", kNaN}, {".", kNaN}, {"-.", kNaN}, {"7 20", kNaN},
        {"- 5", kNaN}, {"1.2.3", kNaN}, {"1.5", kNaN, kComma}, {"1,500", kNaN}, {"abc", kNaN}, {"12a", kNaN},
        {"inf", kNaN}, {"nan", kNaN}, {"0x10", kNaN}, {"1e", kNaN}, {"--1", kNaN},
        {std::string(400, '9'), kOverflow}, {"1e99999999999999999999", kOverflow}, {"-1e400", kOverflow},
        {".5E400", kOverflow}, {"0.0005E400", kOverflow}, {"1e309", kOverflow},
        // clang-format on
    };
    for (const auto& row : rows) {
        EXPECT_EQ(outcome<double>([&] { return TextToNumber(row.text, row.format); }), row.expected)
            << row.text;
    }
}

TEST(RoundToLong, GoesToTheNearestTiesToEvenWithinThe32BitRange) {
    const std::pair<double, std::variant<std::int32_t, NumberProblem>> rows[] = {
        // clang-format off
        {480.5, 480}, {481.5, 482}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {4.5, 4}, {5.5, 6}, {2.4, 2},
        {-2.6, -3}, {480.49999999999994, 480}, {2147483647.4, 2147483647}, {-2147483648.5, -2147483647 - 1},
        {-0.0, 0}, {2147483647.5, kOverflow}, {-2147483649.0, kOverflow}, {1e300, kOverflow},
        {std::nan(""), NumberProblem::InvalidOperation},
        // clang-format on
    };
    for (const auto& [value, expected] : rows) {
        const double v = value;  // clang 14 cannot capture a structured binding
        EXPECT_EQ(outcome<std::int32_t>([v] { return RoundToLong(v); }), expected) << value;
    }
}

// Every text written reads back as the number it shows (the fuzz target checks this widely).
TEST(NumberToText, WritesFifteenDigitsThatReadBack) {
    const std::pair<double, const char*> rows[] = {
        // clang-format off
        {72.0, "72"}, {0.5, "0.5"}, {-24.0, "-24"}, {(480.4 - 352) / 2, "64.2"},
        {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
        {999999999999999.4, "999999999999999"}, {999999999999999.6, "1E+15"}, {1.5e20, "1.5E+20"},
        {-0.0, "0"}, {0.00001, "0.00001"}, {0.000001234, "1.234E-06"}, {1.5e-10, "1.5E-10"},
        {1e-300, "1E-300"}, {-std::numeric_limits<double>::max(), "-1.79769313486231E+308"},
        {1.797693134862314e308, "1.79769313486231E+308"},
        // clang-format on
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(NumberToText(value, kDot), text) << value;
        EXPECT_EQ(NumberToText(TextToNumber(text, kDot), kDot), text);
    }
    EXPECT_EQ(NumberToText(-1234.25, kComma), "-1234,25");
    EXPECT_EQ(NumberToText(std::int32_t{-2147483647 - 1}), "-2147483648");
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(outcome<std::string>([&] { return NumberToText(infinity, kDot); }),
              (std::variant<std::string, NumberProblem>(kOverflow)));
}

}  // namespace
}  // namespace korvel
