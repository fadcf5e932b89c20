// What each user action writes and reports, from start-up on: the resize and crop, the
// three calculators, the scene-detect figure, and every way they fail.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Fixture.h"
#include "calc/Bitrate.h"
#include "calc/Geometry.h"

namespace korvel {
namespace {

using enum Ctl;
using testing::LoadedForm;

// One name a box in the rows: a text box's without "txt", the bitrate group's boxes by one word.
std::string rowName(Ctl c) {
    const std::map<Ctl, std::string> words{{txtVideoBitrateSceneDetect, "Scene"},
                                           {txtVideoBitrate, "Video"},
                                           {txtMovieLength, "Length"},
                                           {txtFileSize, "Size"}};
    if (words.contains(c)) return words.at(c);
    const std::string_view name = controlName(c);
    return std::string(controlDef(c).kind == Kind::TextBox ? name.substr(3) : name);
}
const std::map<std::string, Ctl> kRowNames = [] {
    std::map<std::string, Ctl> names;
    for (const auto& c : controlTable()) names.emplace(rowName(c.id), c.id);
    return names;
}();

// One step: "cmdX" presses, "X=T" types T into a text box, "cboX=T" picks the entry T (or types T
// into the free-text list where no entry is T), "add cboX=T" appends the entry T from code,
// "set X=T" writes T from code, "load" runs start-up.
bool perform(LoadedForm& f, const std::string& step) {
    if (step == "load") return f.form.load();
    const std::string how = step.substr(0, step.find(' ') == 3 ? 3 : 0);
    const std::string s = how.empty() ? step : step.substr(4);
    const auto equals = s.find('=');
    const auto c = kRowNames.find(s.substr(0, equals));
    if (c == kRowNames.end()) throw std::invalid_argument("no control in step " + step);
    const std::string text = equals == std::string::npos ? "" : s.substr(equals + 1);
    const Ctl box = c->second;
    if (how == "set") return f.form.SetText(box, text), true;
    if (how == "add") return f.form.AddEntry(box, text), true;
    if (controlDef(box).kind == Kind::PushButton) return f.form.pressButton(box);
    if (controlDef(box).kind == Kind::TextBox) return f.form.editText(box, text);
    const auto entries = f.form.Entries(box);
    const auto position = std::find(entries.begin(), entries.end(), text) - entries.begin();
    if (position < std::ssize(entries)) return f.form.pickEntry(box, static_cast<std::int16_t>(position));
    if (controlDef(box).style == ListStyle::FreeText) return f.form.typeListText(box, text);
    throw std::invalid_argument("no entry in step " + step);
}

struct Row {
    const char* name;
    std::vector<std::string> before;  // steps whose outcome does not matter
    std::string action;
    std::string writes;
    std::string report = {};  // the sentence reported, or "" when the action succeeds
    NumberFormat format = {};
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.name; }

class Press : public ::testing::TestWithParam<Row> {};

TEST_P(Press, WritesInOrderAndReportsOnce) {
    const Row& r = GetParam();
    LoadedForm f(r.format, r.action != "load");
    for (const auto& step : r.before) perform(f, step);
    f.writes.clear();
    f.reports.clear();
    EXPECT_EQ(perform(f, r.action), r.report.empty());
    std::string written;  // "Box=text", by the rows' names
    for (const auto& w : f.writes) {
        const auto equals = w.find('=');
        const Ctl box = std::ranges::find(controlTable(), w.substr(0, equals), &ControlDef::name)->id;
        written += (written.empty() ? "" : " ") + rowName(box) + w.substr(equals);
    }
    EXPECT_EQ(written, r.writes);
    std::string reported;  // the sentence of each report
    for (const auto& failure : f.reports) reported += failure.what();
    EXPECT_EQ(reported, r.report);
}

const std::string kTv = "cboMovieFormat=TV (4:3)", kScope = "cboMovieFormat=Cinemascope (2.35:1)";
// 70 two-byte characters: a sentence cuts it at a character's end.
std::string twoByteCharacters(int n) { return n == 0 ? "" : "\xC3\xA9" + twoByteCharacters(n - 1); }
const std::string kLong = twoByteCharacters(70);
const std::string kPasted = std::string(40000, '1') + "x";
std::string tooLarge(const std::string& result, const std::string& input) {
    return "The " + result + " would be too large; check the " + input + ".";
}
// A text as a sentence quotes it: isolated from the sentence's direction.
std::string q(const std::string& text) { return "\"\u2068" + text + "\u2069\""; }
const std::string kVideoOverflow = tooLarge("scene-detect bitrate", "video bitrate");
const std::string kGrouped =
    " is not a number; write it without separators between thousands, and decimals with ";

// Rows check what each action writes, in order, and the one sentence it reports.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Geometry, Press, ::testing::Values(
    Row{"StartUp", {}, "load", "VertSize=480 VSizeErr=0 HorizCrop=720 VertCrop=480 VertOff=0 VSizeErrCrop=0"},
    Row{"ScopeAt640", {kScope}, "cboHorizSize=640",
        "VertSize=432 VSizeErr=11 HorizCrop=640 VertCrop=272 VertOff=80 VSizeErrCrop=0"},
    Row{"SmallestSize", {kTv}, "cboHorizSize=16",
        "VertSize=16 VSizeErr=11 HorizCrop=16 VertCrop=0 VertOff=8 VSizeErrCrop=12"},
    Row{"Cine", {}, "cboMovieFormat=Cine 35mm (1.85:1)",
        "HorizCrop=720 VertCrop=384 VertOff=48 VSizeErrCrop=5"},
    Row{"FormatLeavesResize", {"cboHorizSize=688"}, kTv,
        "HorizCrop=688 VertCrop=512 VertOff=-24 VSizeErrCrop=5"},
    Row{"RemainderEightSnapsUp", {"add cboHorizSize=396"}, "cboHorizSize=396",
        "VertSize=272 VSizeErr=8 HorizCrop=396 VertCrop=256 VertOff=8 VSizeErrCrop=8"},
    Row{"NegativeSize", {"add cboHorizSize=-100"}, "cboHorizSize=-100",
        "VertSize=-64 VSizeErr=-3 HorizCrop=-100 VertCrop=-64 VertOff=0 VSizeErrCrop=-3"},
    Row{"LargestSnapDown", {"add cboHorizSize=3221225458.5"}, "cboHorizSize=3221225458.5",
        "VertSize=2147483632 VSizeErr=7 HorizCrop=3221225458.5 VertCrop=2147483632 VertOff=0 VSizeErrCrop=7"},
    Row{"SnapUpBeyond32Bits", {"add cboHorizSize=3221225460"}, "cboHorizSize=3221225460", "",
        tooLarge("vertical size", "horizontal size")},
    Row{"CropOverflowKeepsWidth", {kTv, "add cboHorizSize=3000000000"}, "cboHorizSize=3000000000",
        "VertSize=2000000000 VSizeErr=0 HorizCrop=3000000000",
        tooLarge("crop height", "horizontal size")},
    Row{"OffsetFailureKeepsCrop", {"set VertSize=4 80"}, kScope, "HorizCrop=720 VertCrop=304",
        "The vertical size " + q("4 80") + " is not a number."},
    Row{"CommaOffset", {"set VertSize=480,4"}, kTv,
        "HorizCrop=720 VertCrop=528 VertOff=-23,8 VSizeErrCrop=13", "", {','}}));

INSTANTIATE_TEST_SUITE_P(Bitrate, Press, ::testing::Values(
    Row{"VideoFromSize", {"Size=700"}, "cmdCalcVideoBitrate", "Video=668 Scene=802 Scene=802"},
    Row{"LengthFromBoth", {"Size=700", "Video=668"}, "cmdCalcLength", "Length=120 Scene=802"},
    Row{"SinglePrecisionRatio", {"Size=4769", "Length=215"}, "cmdCalcVideoBitrate",
        "Video=2901 Scene=3481 Scene=3481"},
    Row{"TieGoesToEven", {"Video=896", "Length=3"}, "cmdCalcFileSize", "Size=22 Scene=1075"},
    Row{"NegativeVideo", {"Size=100"}, "cmdCalcVideoBitrate", "Video=-14 Scene=-17 Scene=-17"},
    Row{"TypedAudioCountsZero", {"cboAudioBitrate=128", "Size=700"}, "cmdCalcVideoBitrate",
        "Video=796 Scene=955 Scene=955"},
    Row{"EmptiedVideo", {"Video=800"}, "Video=", "Video= Scene="},
    // A video bitrate that gives no figure leaves the scene-detect box empty, not with an older figure.
    Row{"LoneMinus", {"Video=-100"}, "Video=-", "Video=- Scene=",
        "The video bitrate " + q("-") + " is not a number."},
    Row{"OtherSeparator", {}, "Video=8,5", "Video=8,5 Scene=",
        "The video bitrate " + q("8,5") + " is not a number; write decimals with \".\"."},
    Row{"OtherSeparatorComma", {}, "Video=90.5", "Video=90.5 Scene=",
        "The video bitrate " + q("90.5") + " is not a number; write decimals with \",\".", {','}},
    Row{"LongTextIsShortened", {}, "Video=" + kLong, "Video=" + kLong + " Scene=",
        "The video bitrate " + q(kLong.substr(0, 120) + "\u2026") + " is not a number."},
    Row{"SceneBeyond32Bits", {"Video=200000000"}, "Video=2000000000", "Video=2000000000 Scene=",
        kVideoOverflow},
    Row{"VideoAtStartUp", {}, "cmdCalcVideoBitrate", "", "The file size is empty; enter a number."},
    Row{"ThousandsGrouped", {"Size=700", "Length=1,500"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("1,500") + kGrouped + "\".\"."},
    Row{"ThousandsGroupedComma", {"Size=700", "Length=-12.345.678,5"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("-12.345.678,5") + kGrouped + "\",\".", {','}},
    // The locale's own grouping: Indian, Swiss (de_CH), French (fr_FR), and one that is no common kind.
    Row{"NotGroupedInThrees", {"Size=700", "Length=1,5000,000"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("1,5000,000") + " is not a number."},
    Row{"GroupedIndian", {"Size=700", "Length=1,50,000"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("1,50,000") + kGrouped + "\".\"."},
    Row{"GroupedSwiss", {"Size=700", "Length=1'500.5"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("1'500.5") + kGrouped + "\".\".", {'.', U'\u2019'}},
    Row{"GroupedFrench", {"Size=700", "Length= 1\u00A0500\u202F000,5\u2009"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q(" 1\u00A0500\u202F000,5\u2009") + kGrouped + "\",\".", {',', U'\u202F'}},
    Row{"GroupedLocalesOwn", {"Size=700", "Length=1\u066C500"}, "cmdCalcVideoBitrate", "",
        "The movie length " + q("1\u066C500") + kGrouped + "\".\".", {'.', U'\u066C'}},
    // A blank is a text, not the empty one: it is read, fails and is reported.
    Row{"BlankVideo", {"Video=800"}, "Video= ", "Video=  Scene=",
        "The video bitrate " + q(" ") + " is not a number."},
    Row{"PasteStopsAtItsEnd", {"Size=" + kPasted}, "cmdCalcLength", "",
        "The file size " + q(kPasted.substr(0, 30) + "…" + kPasted.substr(39981)) + " is not a number."},
    Row{"TypedSizeTooLarge", {"Size=1e400"}, "cmdCalcLength", "",
        "The file size " + q("1e400") + " is too large."},
    Row{"TypedSizeFarBelowZero", {"Size=-1e400"}, "cmdCalcLength", "",
        "The file size " + q("-1e400") + " is too far below zero."},
    Row{"ZeroByZero", {"Size=0", "Length=0"}, "cmdCalcVideoBitrate", "",
        "The movie length is 0, so the video bitrate cannot be calculated."},
    Row{"BitratesAddUpToZero", {"Size=700", "Video=-128"}, "cmdCalcLength", "",
        "The video and audio bitrates add up to 0, so the movie length cannot be calculated."},
    Row{"TotalWithoutAnEighth", {"cboAudioBitrate=x", "Size=1", "Video=5e-324"}, "cmdCalcLength", "",
        "The video and audio bitrates add up to too little to divide by, so the movie length cannot be "
        "calculated."},
    Row{"TinyLength", {"Size=700", "Length=0.0000000001"}, "cmdCalcVideoBitrate", "",
        tooLarge("video bitrate", "movie length")},
    Row{"LengthOfOneIsNoTinyDivisor", {"Size=1e12", "Length=1"}, "cmdCalcVideoBitrate", "",
        tooLarge("video bitrate", "file size")},
    Row{"SizeHugeLength", {"Video=800", "Length=1e12"}, "cmdCalcFileSize", "",
        tooLarge("file size", "movie length")},
    Row{"LengthTinyTotal", {"Size=700", "Video=-127.9999999"}, "cmdCalcLength", "",
        tooLarge("movie length", "video bitrate")},
    Row{"EqualInputsBlameTheFirst", {"Video=1e200", "Length=1e200"}, "cmdCalcFileSize", "",
        tooLarge("file size", "video bitrate")},
    Row{"LengthBelow32Bits", {"Size=-1e12", "Video=1"}, "cmdCalcLength", "",
        "The movie length would be too far below zero; check the file size."},
    Row{"LengthSizeBeyondDoubles", {"Size=1e306", "Video=1"}, "cmdCalcLength", "",
        tooLarge("movie length", "file size")},
    Row{"NestedChangeOverflows", {"Video=x", "Size=14648438", "Length=1"}, "cmdCalcVideoBitrate",
        "Video=2000000045 Scene=", kVideoOverflow},
    Row{"ClosingStepOverflows", {"Video=1789569707", "Length=1"}, "cmdCalcFileSize", "Size=13107201 Scene=",
        kVideoOverflow}));
// clang-format on

// Called with no movie format selected, as no user action can, the crop has no ratio to divide by.
TEST(cboMovieFormat_Click, FailsWithoutAFormat) {
    LoadedForm f({}, false);
    f.form.AddEntry(cboHorizSize, "720");
    ASSERT_TRUE(f.form.pickEntry(cboHorizSize, 0));
    f.form.on(cmdCalcLength, Event::Click, [&f] { cboMovieFormat_Click(f.form, {}); });
    EXPECT_FALSE(f.form.pressButton(cmdCalcLength));
    EXPECT_STREQ(f.reports.at(0).what(), "No movie format is selected, so there is no ratio to divide by.");
}

// Each audio entry stands for the number in its own text; any other typed text counts as 0.
TEST(GetAudioBitrate, IsTheNumberOfTheSelectedEntryAndZeroOtherwise) {
    LoadedForm f;
    EXPECT_EQ(GetAudioBitrate(f.form), 128);
    for (std::int16_t i = 0; i < 9; ++i) {
        ASSERT_TRUE(f.form.pickEntry(cboAudioBitrate, i));
        EXPECT_EQ(GetAudioBitrate(f.form), std::stoi(f.text(cboAudioBitrate))) << f.text(cboAudioBitrate);
    }
    for (const auto& [text, kbits] : {std::pair{"96", 0}, {"", 0}, {"96 Kbit/s", 96}}) {
        ASSERT_TRUE(f.form.typeListText(cboAudioBitrate, text));
        EXPECT_EQ(GetAudioBitrate(f.form), kbits) << text;
    }
}

}  // namespace
}  // namespace korvel
