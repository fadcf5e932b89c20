// Seeded random sequences of typing, picking and pressing on the loaded program. Each action is
// checked at once against rules worked out here, not by the core: one report per failure naming a
// box the user can change, typed texts judged by the number grammar, and the scene-detect figure.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <regex>

#include "Fixture.h"

namespace korvel {
namespace {

using enum Ctl;

// clang-format off
constexpr Ctl kTargets[] = {txtVideoBitrate, txtVideoBitrate, txtMovieLength, txtFileSize,
                            cmdCalcVideoBitrate, cmdCalcFileSize, cmdCalcLength, cboAudioBitrate,
                            cboHorizSize, cboMovieFormat};
// Typed texts are made of these: numbers of every size and sign, blanks, both separators, letters.
constexpr const char* kPieces[] = {"", " ", "\t", "-", "+", "0", "7", "16", "128", "1789569706", "e", "E308",
                                   "e-5", "E+400", "x", "1e-320", "99999999999999999999", ".", ","};
// clang-format on

bool isNumber(const std::string& text, char separator) {
    const std::string sep = separator == ',' ? "," : "\\.",
                      digits = "([0-9]+(" + sep + "[0-9]*)?|" + sep + "[0-9]+)";
    return std::regex_match(text, std::regex("[ \t]*[+-]?" + digits + "([eE][+-]?[0-9]+)?[ \t]*"));
}

// 1.2 times the number, nearest whole with ties to even; nothing for a text that is no number or
// whose figure is beyond the 32-bit range.
std::optional<std::string> sceneFigure(std::string text, char separator) {
    if (!isNumber(text, separator)) return std::nullopt;
    std::replace(text.begin(), text.end(), separator, '.');
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '+'; });
    double value =
        0;  // out of the double range: too large, or with a negative exponent so small it reads as 0
    const auto exponent = text.find_first_of("eE");
    const auto read = std::from_chars(text.data(), text.data() + text.size(), value).ec;
    if (read != std::errc{} && (exponent == std::string::npos || text[exponent + 1] != '-'))
        return std::nullopt;
    const double figure = std::nearbyint(value * 1.2);
    if (!(figure >= -2147483648.0 && figure <= 2147483647.0)) return std::nullopt;
    return std::to_string(static_cast<long>(figure));
}

TEST(ActionStress, EveryActionKeepsTheFormConsistent) {
    for (std::uint64_t seed = 0; seed < 120; ++seed) {
        const char separator = seed % 4 < 2 ? '.' : ',';
        testing::LoadedForm f(NumberFormat{separator});
        std::mt19937_64 random(seed);
        for (int i = 0; i < 150; ++i) {
            const Ctl c = kTargets[random() % std::size(kTargets)];
            const Kind kind = controlDef(c).kind;
            std::string text;
            for (auto n = random() % 5; n > 0; --n) text += kPieces[random() % std::size(kPieces)];
            const auto entries = f.form.Entries(kind == Kind::DropDownList ? c : cboAudioBitrate);
            const auto position = static_cast<std::int16_t>(random() % entries.size());
            const bool picked = kind == Kind::DropDownList && (c != cboAudioBitrate || random() % 4);
            if (picked) text = entries[position];
            f.writes.clear();
            f.reports.clear();
            const bool ok = kind == Kind::PushButton ? f.form.pressButton(c)
                            : kind == Kind::TextBox  ? f.form.editText(c, text)
                            : picked                 ? f.form.pickEntry(c, position)
                                                     : f.form.typeListText(c, text);
            SCOPED_TRACE("seed " + std::to_string(seed) + ", action " + std::to_string(i) + " on " +
                         std::string(controlName(c)) + ": \"" + text + "\"");

            ASSERT_EQ(f.reports.size(), ok ? 0U : 1U);
            // Only typing the video bitrate and pressing fail; a failure names a box the user types in.
            const auto subject = ok ? txtVideoBitrate : f.reports[0].subject().value_or(frmKorvel);
            ASSERT_TRUE(ok || c == txtVideoBitrate || kind == Kind::PushButton);
            ASSERT_TRUE(controlDef(subject).kind == Kind::TextBox && !controlDef(subject).readOnly);
            ASSERT_TRUE(ok || c != txtVideoBitrate ||
                        (f.reports[0].kind() == FailureKind::NotANumber) !=
                            (isNumber(text, separator) || text.empty()));
            // Where the action wrote the scene-detect box (always its last step), it holds the figure of
            // the video bitrate, or nothing for an empty text; a text that gives no figure fails the action.
            if (!f.writes.empty() && f.writes.back().starts_with("txtVideoBitrateSceneDetect=")) {
                const std::string& video = f.text(txtVideoBitrate);
                const auto figure =
                    video.empty() ? std::optional<std::string>("") : sceneFigure(video, separator);
                ASSERT_EQ(f.text(txtVideoBitrateSceneDetect), figure.value_or(""));
                ASSERT_TRUE(figure || !ok);
            }
        }
    }
}

}  // namespace
}  // namespace korvel
