#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "calc/Failure.h"
#include "calc/Numbers.h"

namespace korvel {
namespace {

constexpr NumberFormat kDot{'.'};
constexpr NumberFormat kComma{','};

std::optional<FailureKind> failureOf(auto&& f) {
    try {
        f();
    } catch (const Failure& failure) {
        return failure.kind();
    }
    return std::nullopt;
}

struct ReadCase {
    const char* name;
    std::string text;
    char separator;
    std::optional<double> value;  // nullopt: the text must fail
    FailureKind failure = FailureKind::NotANumber;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class TextToNumberTest : public testing::TestWithParam<ReadCase> {};

TEST_P(TextToNumberTest, ReadsOrFails) {
    const ReadCase& c = GetParam();
    const NumberFormat format{c.separator};
    if (c.value) {
        EXPECT_EQ(TextToNumber(c.text, format), *c.value);
    } else {
        EXPECT_EQ(failureOf([&] { TextToNumber(c.text, format); }), c.failure);
    }
}

const std::string kHundredsOfDigits(400, '9');
const std::string kTinyFraction = "0." + std::string(400, '0') + "1";

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToNumberTest,
    testing::Values(
        ReadCase{"Integer", "720", '.', 720.0}, ReadCase{"BlanksAround", " 720 ", '.', 720.0},
        ReadCase{"TabsAround", "\t720\t", '.', 720.0}, ReadCase{"Negative", "-100", '.', -100.0},
        ReadCase{"PlusSign", "+5", '.', 5.0}, ReadCase{"Fraction", "722.25", '.', 722.25},
        ReadCase{"CommaFraction", "722,25", ',', 722.25}, ReadCase{"LeadingSeparator", ".5", '.', 0.5},
        ReadCase{"TrailingSeparator", "5.", '.', 5.0}, ReadCase{"LeadingZeros", "007", '.', 7.0},
        ReadCase{"Exponent", "1.5E+20", '.', 1.5e20}, ReadCase{"SmallExponent", "1e-7", '.', 1e-7},
        ReadCase{"Underflow", "1e-400", '.', 0.0},
        ReadCase{"TinyFractionIsNoFailure", kTinyFraction, '.', 0.0},
        ReadCase{"Empty", "", '.', std::nullopt}, ReadCase{"OneBlank", " ", '.', std::nullopt},
        ReadCase{"LoneMinus", "-", '.', std::nullopt}, ReadCase{"LonePlus", "+", '.', std::nullopt},
        ReadCase{"LoneSeparator", ".", '.', std::nullopt},
        ReadCase{"SignAndSeparator", "-.", '.', std::nullopt},
        ReadCase{"BlankInside", "7 20", '.', std::nullopt},
        ReadCase{"BlankAfterSign", "- 5", '.', std::nullopt},
        ReadCase{"TwoSeparators", "1.2.3", '.', std::nullopt},
        ReadCase{"OtherSeparator", "1.5", ',', std::nullopt},
        ReadCase{"DigitGrouping", "1,500", '.', std::nullopt}, ReadCase{"Letters", "abc", '.', std::nullopt},
        ReadCase{"TrailingLetter", "12a", '.', std::nullopt}, ReadCase{"Infinity", "inf", '.', std::nullopt},
        ReadCase{"NotANumber", "nan", '.', std::nullopt}, ReadCase{"Hexadecimal", "0x10", '.', std::nullopt},
        ReadCase{"ExponentWithoutDigits", "1e", '.', std::nullopt},
        ReadCase{"TwoSigns", "--1", '.', std::nullopt},
        ReadCase{"HundredsOfDigits", kHundredsOfDigits, '.', std::nullopt, FailureKind::Overflow},
        ReadCase{"HugeExponent", "1e99999999999999999999", '.', std::nullopt, FailureKind::Overflow},
        ReadCase{"NegativeOverflow", "-1e400", '.', std::nullopt, FailureKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RoundToLong, TiesGoToTheEvenNeighbour) {
    const std::pair<double, std::int32_t> cases[] = {{480.5, 480},
                                                     {481.5, 482},
                                                     {-2.5, -2},
                                                     {-3.5, -4},
                                                     {0.5, 0},
                                                     {1.5, 2},
                                                     {4.5, 4},
                                                     {5.5, 6},
                                                     {480.49999999999994, 480},
                                                     {2.4, 2},
                                                     {-2.6, -3},
                                                     {2147483647.0, 2147483647},
                                                     {2147483647.4, 2147483647},
                                                     {-2147483648.0, -2147483648},
                                                     {-2147483648.5, -2147483648},
                                                     {-0.0, 0}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundToLong(value), expected) << value;
    }
}

TEST(RoundToLong, FailsOutsideThe32BitRange) {
    for (double value : {2147483647.5, 2147483648.0, -2147483649.0, -2147483649.5, 1e300,
                         -std::numeric_limits<double>::max()}) {
        EXPECT_EQ(failureOf([&] { RoundToLong(value); }), FailureKind::Overflow) << value;
    }
}

TEST(NumberToText, WritesIntegersAsPlainDigits) {
    EXPECT_EQ(NumberToText(std::int32_t{1500}), "1500");
    EXPECT_EQ(NumberToText(std::int32_t{0}), "0");
    EXPECT_EQ(NumberToText(std::int32_t{-17}), "-17");
    EXPECT_EQ(NumberToText(std::int32_t{-2147483647 - 1}), "-2147483648");
}

TEST(NumberToText, WritesDoublesWithFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {72.0, "72"},
        {0.5, "0.5"},
        {-24.0, "-24"},
        {(480.4 - 352) / 2, "64.2"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.4, "999999999999999"},
        {999999999999999.6, "1E+15"},
        {1e15, "1E+15"},
        {1.5e20, "1.5E+20"},
        {-0.0, "0"},
        {0.00001, "0.00001"},
        {0.000001234, "1.234E-06"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486231E+308"},  // toward zero: it must read back
        {-std::numeric_limits<double>::max(), "-1.79769313486231E+308"},
        {1.797693134862315e308, "1.79769313486231E+308"},
        {1.797693134862314e308, "1.79769313486231E+308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(NumberToText(value, kDot), expected) << value;
        EXPECT_EQ(NumberToText(TextToNumber(expected, kDot), kDot), expected);
    }
    EXPECT_EQ(NumberToText(0.5, kComma), "0,5");
    EXPECT_EQ(NumberToText(-1234.25, kComma), "-1234,25");
}

// Every text written reads back as the number it shows, and writing that number again
// gives the same text, with either separator.
TEST(NumberToText, RoundTripsThroughTextToNumber) {
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<std::uint64_t> bits;
    int checked = 0;
    while (checked < 200000) {
        const std::uint64_t raw = bits(random);
        double value = 0;
        std::memcpy(&value, &raw, sizeof value);
        if (!std::isfinite(value)) continue;
        for (const NumberFormat format : {kDot, kComma}) {
            const std::string text = NumberToText(value, format);
            const double back = TextToNumber(text, format);
            ASSERT_EQ(NumberToText(back, format), text) << value;
            ASSERT_LE(std::abs(back - value), std::abs(value) * 1e-14) << text;
        }
        ++checked;
    }
}

TEST(TwoFifteenthsSingle, IsTheSinglePrecisionQuotientWidened) {
    EXPECT_EQ(TwoFifteenthsSingle(), 0.13333334028720856);
    // The factor changes results: the double 2/15 would round this one down to 2900.
    const double value = 4769 * 1024.0 / 215 * TwoFifteenthsSingle() - 128;
    EXPECT_EQ(value, 2900.5000029098155);
    EXPECT_EQ(RoundToLong(value), 2901);
    EXPECT_EQ(RoundToLong(4769 * 1024.0 / 215 * (2.0 / 15.0) - 128), 2900);
}

TEST(CheckedArithmetic, FailsOnOverflowAndDivisionByZero) {
    const double big = std::numeric_limits<double>::max();
    EXPECT_EQ(failureOf([&] { Times(big, 1024.0); }), FailureKind::Overflow);
    EXPECT_EQ(failureOf([&] { Plus(big, big); }), FailureKind::Overflow);
    EXPECT_EQ(failureOf([&] { Minus(-big, big); }), FailureKind::Overflow);
    EXPECT_EQ(failureOf([&] { Divide(1.0, 0.0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(failureOf([&] { Divide(0.0, 0.0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(failureOf([&] { Divide(big, 1e-300); }), FailureKind::Overflow);
    EXPECT_EQ(Divide(1e-300, 1e300), 0.0);  // underflow is no failure
}

}  // namespace
}  // namespace korvel
