// What a failure says: the input an overflow is blamed on, the separator hint, long texts.

#include <gtest/gtest.h>

#include "Fixture.h"
#include "calc/Bitrate.h"

namespace korvel {
namespace {

using enum Ctl;
using testing::LoadedForm;

// A tiny and a huge value in each input of each calculator; "" where the press succeeds.
TEST(FailureWording, OverflowNamesTheInputThatCausesIt) {
    // clang-format off
    struct Row { Ctl button, input; const char *value, *sentence; };
    const Row rows[] = {
        {cmdCalcVideoBitrate, txtFileSize, "1e-10", ""},
        {cmdCalcVideoBitrate, txtFileSize, "1e12", "The video bitrate would be too large; check the file size."},
        {cmdCalcVideoBitrate, txtMovieLength, "1e-10", "The video bitrate would be too large; check the movie length."},
        {cmdCalcVideoBitrate, txtMovieLength, "1e12", ""},
        {cmdCalcFileSize, txtVideoBitrate, "1e-10", ""},
        {cmdCalcFileSize, txtVideoBitrate, "1e12", "The file size would be too large; check the video bitrate."},
        {cmdCalcFileSize, txtMovieLength, "1e-10", ""},
        {cmdCalcFileSize, txtMovieLength, "1e12", "The file size would be too large; check the movie length."},
        {cmdCalcLength, txtFileSize, "1e-10", ""},
        {cmdCalcLength, txtFileSize, "1e12", "The movie length would be too large; check the file size."},
        // Without audio the total bitrate, the divisor, is as tiny as the video bitrate.
        {cmdCalcLength, txtVideoBitrate, "1e-10", "The movie length would be too large; check the video bitrate."},
        // The length is written; then 1.2 times the video bitrate, the closing step, overflows.
        {cmdCalcLength, txtVideoBitrate, "1e12", "The scene-detect bitrate would be too large; check the video bitrate."},
    };
    // clang-format on
    for (const Row& row : rows) {
        LoadedForm f;
        f.form.typeListText(cboAudioBitrate, "none");
        f.form.editText(txtFileSize, "700");
        f.form.editText(txtVideoBitrate, "800");
        f.form.editText(txtMovieLength, "1");  // a divisor of 1 does not enlarge: not the one to blame
        f.form.editText(row.input, row.value);
        f.reports.clear();
        f.form.pressButton(row.button);
        const std::string said = f.reports.empty() ? "" : f.reports.back().what();
        EXPECT_EQ(said, row.sentence) << controlName(row.button) << " " << row.value;
    }
}

TEST(FailureWording, TextsThatAreNoNumbers) {
    std::string longText;  // of two-byte characters, cut at a character's boundary
    for (int i = 0; i < 70; ++i) longText += "\xC3\xA9";
    const std::tuple<char, std::string, std::string> rows[] = {
        {',', "90.5", "The video bitrate \"90.5\" is not a number; write decimals with \",\"."},
        {'.', "-90,5E3", "The video bitrate \"-90,5E3\" is not a number; write decimals with \".\"."},
        {'.', "9,5E999", "The video bitrate \"9,5E999\" is not a number; write decimals with \".\"."},
        {'.', ",", "The video bitrate \",\" is not a number."},
        {'.', longText, "The video bitrate \"" + longText.substr(0, 120) + "\u2026\" is not a number."},
    };
    for (const auto& [separator, typed, sentence] : rows) {
        LoadedForm f(NumberFormat{separator});
        f.form.editText(txtVideoBitrate, typed);
        ASSERT_EQ(f.reports.size(), 1U) << typed;
        EXPECT_EQ(f.reports[0].what(), sentence);
    }
}

TEST(FailureWording, ATypedAudioBitrateCountsAsZeroAndSaysSo) {
    LoadedForm f;
    const std::pair<const char*, const char*> rows[] = {
        {"96", "The audio bitrate \"96\" is not one of the listed bitrates, so it counts as 0 kbit/s."},
        {"", "The audio bitrate is empty, so it counts as 0 kbit/s."},
        {"96 Kbit/s", ""}};
    for (const auto& [typed, caution] : rows) {
        f.form.typeListText(cboAudioBitrate, typed);
        EXPECT_EQ(Caution(f.form, cboAudioBitrate), caution);
        EXPECT_EQ(Caution(f.form, txtVideoBitrate), "");
    }
}

}  // namespace
}  // namespace korvel
