#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Fixture.h"
#include "calc/Bitrate.h"

namespace korvel {
namespace {

using enum Ctl;
using testing::LoadedForm;

TEST(GetAudioBitrate, ComesFromThePositionNeverFromTheText) {
    LoadedForm f;
    EXPECT_EQ(GetAudioBitrate(f.form), 128);
    const std::pair<std::int16_t, std::int16_t> picks[] = {{0, 256}, {4, 112}, {5, 96}, {8, 16}};
    for (const auto& [position, kbits] : picks) {
        ASSERT_TRUE(f.form.pickEntry(cboAudioBitrate, position));
        EXPECT_EQ(GetAudioBitrate(f.form), kbits) << position;
    }
    ASSERT_TRUE(f.form.typeListText(cboAudioBitrate, "128"));
    EXPECT_EQ(GetAudioBitrate(f.form), 0);
    ASSERT_TRUE(f.form.typeListText(cboAudioBitrate, "32 Kbit/s"));
    EXPECT_EQ(GetAudioBitrate(f.form), 32);
    // Choosing an audio bitrate calculates nothing: only the list's own text changes.
    for (const auto& write : f.writes) EXPECT_EQ(write.rfind("cboAudioBitrate=", 0), 0U) << write;
}

struct Press {
    const char* name;
    std::vector<std::pair<Ctl, const char*>> typed;  // edits before the press
    Ctl button;
    Ctl result;
    const char* written;
    const char* sceneDetect;
    std::int16_t audioPosition = 3;  // -1: a typed audio text that matches no entry
};

void PrintTo(const Press& p, std::ostream* os) { *os << p.name; }

class Presses : public ::testing::TestWithParam<Press> {};

TEST_P(Presses, WriteTheResultThenTheSceneDetectFigure) {
    const Press& p = GetParam();
    LoadedForm f;
    if (p.audioPosition < 0) {
        ASSERT_TRUE(f.form.typeListText(cboAudioBitrate, "none"));
    } else {
        ASSERT_TRUE(f.form.pickEntry(cboAudioBitrate, p.audioPosition));
    }
    for (const auto& [box, text] : p.typed) ASSERT_TRUE(f.form.editText(box, text)) << text;
    f.writes.clear();
    ASSERT_TRUE(f.form.pressButton(p.button));
    EXPECT_TRUE(f.reports.empty());
    const std::string result = std::string(controlName(p.result)) + "=" + p.written;
    const std::string scene = std::string("txtVideoBitrateSceneDetect=") + p.sceneDetect;
    if (p.result == txtVideoBitrate) {  // the change handler writes the figure in between
        EXPECT_EQ(f.writes, (std::vector<std::string>{result, scene, scene}));
    } else {
        EXPECT_EQ(f.writes, (std::vector<std::string>{result, scene}));
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Calculators, Presses,
    ::testing::Values(
        Press{"VideoFromSizeAndLength", {{txtFileSize, "700"}}, cmdCalcVideoBitrate, txtVideoBitrate, "668", "802"},
        Press{"SizeFromVideoAndLength", {{txtVideoBitrate, "668"}}, cmdCalcFileSize, txtFileSize, "700", "802"},
        Press{"LengthFromSizeAndVideo", {{txtFileSize, "700"}, {txtVideoBitrate, "668"}}, cmdCalcLength,
              txtMovieLength, "120", "802"},
        Press{"SizeAt800", {{txtVideoBitrate, "800"}}, cmdCalcFileSize, txtFileSize, "816", "960"},
        Press{"LengthAt800", {{txtFileSize, "700"}, {txtVideoBitrate, "800"}}, cmdCalcLength, txtMovieLength,
              "103", "960"},
        // The single-precision 2/15 lifts 2900.49984 to 2900.50000029.
        Press{"SinglePrecisionRatio", {{txtFileSize, "4769"}, {txtMovieLength, "215"}}, cmdCalcVideoBitrate,
              txtVideoBitrate, "2901", "3481"},
        Press{"TieGoesToEven", {{txtVideoBitrate, "896"}, {txtMovieLength, "3"}}, cmdCalcFileSize, txtFileSize,
              "22", "1075"},
        Press{"NegativeVideoBitrate", {{txtFileSize, "100"}}, cmdCalcVideoBitrate, txtVideoBitrate, "-14", "-17"},
        Press{"NoAudioEntry", {{txtFileSize, "700"}}, cmdCalcVideoBitrate, txtVideoBitrate, "796", "955", -1},
        Press{"FractionalLength", {{txtFileSize, "700"}, {txtMovieLength, "90.5"}}, cmdCalcVideoBitrate,
              txtVideoBitrate, "928", "1114"},
        Press{"ZeroFileSize", {{txtFileSize, "0"}, {txtVideoBitrate, "500"}}, cmdCalcLength, txtMovieLength, "0",
              "600"},
        Press{"NegativeLength", {{txtFileSize, "700"}, {txtVideoBitrate, "-200"}}, cmdCalcLength, txtMovieLength,
              "-1327", "-240"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The worked example, button after button from start-up.
TEST(Presses, ChainFromStartUp) {
    LoadedForm f;
    auto run = [&](Ctl box, const char* text, Ctl button) {
        if (box != frmKorvel) {
            EXPECT_TRUE(f.form.editText(box, text));
        }
        EXPECT_TRUE(f.form.pressButton(button));
        return f.text(txtVideoBitrate) + " " + f.text(txtFileSize) + " " + f.text(txtMovieLength) + " " +
               f.text(txtVideoBitrateSceneDetect);
    };
    EXPECT_EQ(run(txtFileSize, "700", cmdCalcVideoBitrate), "668 700 120 802");
    EXPECT_EQ(run(frmKorvel, "", cmdCalcFileSize), "668 700 120 802");
    EXPECT_EQ(run(frmKorvel, "", cmdCalcLength), "668 700 120 802");
    EXPECT_EQ(run(txtVideoBitrate, "800", cmdCalcFileSize), "800 816 120 960");
    EXPECT_EQ(run(txtFileSize, "700", cmdCalcLength), "800 700 103 960");
    EXPECT_TRUE(f.reports.empty());
}

// The closing step makes the results independent of whether an unchanged text raises
// the change event.
TEST(Presses, ResultsDoNotDependOnChangeEventsForUnchangedTexts) {
    for (const char* fileSize : {"700", "4769", "100", "0"}) {
        std::vector<std::string> finals;
        for (bool raise : {true, false}) {
            LoadedForm f;
            f.form.setChangeOnSameText(raise);
            f.form.editText(txtFileSize, fileSize);
            f.form.pressButton(cmdCalcVideoBitrate);
            f.form.pressButton(cmdCalcVideoBitrate);  // the same text written again
            f.form.pressButton(cmdCalcFileSize);
            f.form.pressButton(cmdCalcLength);
            finals.push_back(f.text(txtVideoBitrate) + " " + f.text(txtFileSize) + " " +
                             f.text(txtMovieLength) + " " + f.text(txtVideoBitrateSceneDetect));
        }
        EXPECT_EQ(finals[0], finals[1]) << fileSize;
    }
}

TEST(SceneDetect, FollowsEveryKeystroke) {
    LoadedForm f;
    const std::pair<const char*, const char*> keystrokes[] = {{"8", "10"},
                                                              {"80", "96"},
                                                              {"800", "960"},
                                                              {"80", "96"},
                                                              {"", ""},
                                                              {"668", "802"},
                                                              {"796", "955"},
                                                              {"-100", "-120"},
                                                              {"-14", "-17"},
                                                              {"3.75", "4"},
                                                              {"1789569706", "2147483647"},
                                                              {"-1789569707", "-2147483648"}};
    for (const auto& [typed, figure] : keystrokes) {
        ASSERT_TRUE(f.form.editText(txtVideoBitrate, typed)) << typed;
        EXPECT_EQ(f.text(txtVideoBitrateSceneDetect), figure) << typed;
    }
    EXPECT_TRUE(f.reports.empty());
}

// A text on the way to a number fails the figure and keeps the old one; the typed text stays.
TEST(SceneDetect, TextsThatAreNoNumbersKeepTheOldFigure) {
    const std::string hundredsOfDigits(400, '9');
    const std::pair<const char*, FailureKind> cases[] = {{"-", FailureKind::NotANumber},
                                                         {" ", FailureKind::NotANumber},
                                                         {"8a", FailureKind::NotANumber},
                                                         {"8,5", FailureKind::NotANumber},
                                                         {"1789569707", FailureKind::Overflow},
                                                         {"1e308", FailureKind::Overflow},
                                                         {hundredsOfDigits.c_str(), FailureKind::Overflow}};
    for (const auto& [typed, kind] : cases) {
        LoadedForm f;
        ASSERT_TRUE(f.form.editText(txtVideoBitrate, "100"));
        EXPECT_FALSE(f.form.editText(txtVideoBitrate, typed));
        EXPECT_EQ(f.text(txtVideoBitrate), typed);
        EXPECT_EQ(f.text(txtVideoBitrateSceneDetect), "120") << typed;
        ASSERT_EQ(f.reports.size(), 1U) << typed;
        EXPECT_EQ(f.reports[0].kind(), kind) << typed;
        EXPECT_EQ(f.reports[0].subject(), txtVideoBitrate);
    }
}

TEST(SceneDetect, CommaLocaleReadsCommaFractions) {
    LoadedForm f(NumberFormat{','});
    ASSERT_TRUE(f.form.editText(txtVideoBitrate, "3,75"));
    EXPECT_EQ(f.text(txtVideoBitrateSceneDetect), "4");
    ASSERT_TRUE(f.form.editText(txtMovieLength, "90,5"));
    ASSERT_TRUE(f.form.editText(txtFileSize, "700"));
    ASSERT_TRUE(f.form.pressButton(cmdCalcVideoBitrate));
    EXPECT_EQ(f.text(txtVideoBitrate), "928");
}

struct FailingPress {
    const char* name;
    std::vector<std::pair<Ctl, const char*>> typed;
    Ctl button;
    FailureKind kind;
    Ctl subject;
    std::vector<std::string> writes;  // what the press wrote before it failed
};

void PrintTo(const FailingPress& p, std::ostream* os) { *os << p.name; }

class FailingPresses : public ::testing::TestWithParam<FailingPress> {};

TEST_P(FailingPresses, StopAtTheFailingStepAndReportOnce) {
    const FailingPress& p = GetParam();
    LoadedForm f;
    for (const auto& [box, text] : p.typed) f.form.editText(box, text);
    f.reports.clear();
    f.writes.clear();
    EXPECT_FALSE(f.form.pressButton(p.button));
    EXPECT_EQ(f.writes, p.writes);
    ASSERT_EQ(f.reports.size(), 1U);
    EXPECT_EQ(f.reports[0].kind(), p.kind);
    EXPECT_EQ(f.reports[0].subject(), p.subject);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Limits, FailingPresses,
    ::testing::Values(
        FailingPress{"VideoAtStartUp", {}, cmdCalcVideoBitrate, FailureKind::NotANumber, txtFileSize, {}},
        FailingPress{"SizeAtStartUp", {}, cmdCalcFileSize, FailureKind::NotANumber, txtVideoBitrate, {}},
        FailingPress{"LengthAtStartUp", {}, cmdCalcLength, FailureKind::NotANumber, txtFileSize, {}},
        FailingPress{"LengthNotANumber", {{txtFileSize, "700"}, {txtMovieLength, "two hours"}},
                     cmdCalcVideoBitrate, FailureKind::NotANumber, txtMovieLength, {}},
        FailingPress{"ZeroLength", {{txtFileSize, "700"}, {txtMovieLength, "0"}}, cmdCalcVideoBitrate,
                     FailureKind::DivisionByZero, txtMovieLength, {}},
        FailingPress{"ZeroByZero", {{txtFileSize, "0"}, {txtMovieLength, "0"}}, cmdCalcVideoBitrate,
                     FailureKind::DivisionByZero, txtMovieLength, {}},
        FailingPress{"BitratesAddUpToZero", {{txtFileSize, "700"}, {txtVideoBitrate, "-128"}}, cmdCalcLength,
                     FailureKind::DivisionByZero, txtVideoBitrate, {}},
        FailingPress{"FileSizeBeyondDoubles", {{txtFileSize, "1e306"}}, cmdCalcVideoBitrate,
                     FailureKind::Overflow, txtFileSize, {}},
        FailingPress{"TinyLength", {{txtFileSize, "1e300"}, {txtMovieLength, "1e-300"}}, cmdCalcVideoBitrate,
                     FailureKind::Overflow, txtMovieLength, {}},
        FailingPress{"VideoBeyond32Bits", {{txtFileSize, "1e12"}}, cmdCalcVideoBitrate, FailureKind::Overflow,
                     txtFileSize, {}},
        FailingPress{"SizeBeyond32Bits", {{txtVideoBitrate, "1e12"}}, cmdCalcFileSize, FailureKind::Overflow,
                     txtVideoBitrate, {}},
        FailingPress{"LengthBeyond32Bits", {{txtFileSize, "1e12"}, {txtVideoBitrate, "1"}}, cmdCalcLength,
                     FailureKind::Overflow, txtFileSize, {}},
        // The result is written; then the scene-detect figure of 1.2 x 2e9 overflows, once.
        FailingPress{"NestedChangeOverflows", {{txtFileSize, "14648438"}, {txtMovieLength, "1"}},
                     cmdCalcVideoBitrate, FailureKind::Overflow, txtVideoBitrate,
                     {"txtVideoBitrate=2000000045"}},
        FailingPress{"ClosingStepOverflows", {{txtVideoBitrate, "1789569707"}, {txtMovieLength, "1"}},
                     cmdCalcFileSize, FailureKind::Overflow, txtVideoBitrate, {"txtFileSize=13107201"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(FailingPresses, KeepTheSceneDetectFigureAfterTheClosingStepFails) {
    LoadedForm f;
    ASSERT_TRUE(f.form.editText(txtVideoBitrate, "100"));
    f.form.editText(txtVideoBitrate, "1789569707");
    ASSERT_TRUE(f.form.editText(txtFileSize, "700"));
    EXPECT_FALSE(f.form.pressButton(cmdCalcLength));
    EXPECT_EQ(f.text(txtMovieLength), "0");
    EXPECT_EQ(f.text(txtVideoBitrateSceneDetect), "120");
}

}  // namespace
}  // namespace korvel
