#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Fixture.h"
#include "calc/Geometry.h"

namespace korvel {
namespace {

using enum Ctl;
using testing::LoadedForm;

TEST(StartUp, OpensWithTheGeometryFilledIn) {
    LoadedForm f;
    EXPECT_TRUE(f.reports.empty());
    const std::pair<Ctl, const char*> expected[] = {{cboHorizSize, "720"},
                                                    {txtVertSize, "480"},
                                                    {txtVSizeErr, "0"},
                                                    {cboMovieFormat, "DVD Fullscreen (1.5:1)"},
                                                    {txtHorizCrop, "720"},
                                                    {txtVertCrop, "480"},
                                                    {txtVertOff, "0"},
                                                    {txtVSizeErrCrop, "0"},
                                                    {txtMovieLength, "120"},
                                                    {txtFileSize, ""},
                                                    {cboAudioBitrate, "128 Kbit/s"},
                                                    {txtVideoBitrate, ""},
                                                    {txtVideoBitrateSceneDetect, ""}};
    for (const auto& [c, text] : expected) EXPECT_EQ(f.text(c), text) << controlName(c);
}

TEST(StartUp, ResizeRunsBeforeTheFormatListIsFilled) {
    FormModel form;
    bindHandlers(form);
    std::vector<std::string> writes;
    form.setObserver([&](Ctl c, Write w) {
        if (w == Write::Text) writes.push_back(std::string(controlName(c)) + "=" + form.GetText(c));
    });
    form.load();
    EXPECT_EQ(writes, (std::vector<std::string>{"txtVertSize=480", "txtVSizeErr=0", "txtHorizCrop=720",
                                                "txtVertCrop=480", "txtVertOff=0", "txtVSizeErrCrop=0"}));
}

struct GeometryRow {
    const char* size;
    const char* format;
    const char* vertSize;
    const char* vSizeErr;
    const char* vertCrop;
    const char* vertOff;
    const char* vSizeErrCrop;
};

void PrintTo(const GeometryRow& r, std::ostream* os) { *os << r.size << " " << r.format; }

class GeometryRows : public ::testing::TestWithParam<GeometryRow> {};

// Picking the format first, then the size, runs the resize and its nested crop.
TEST_P(GeometryRows, GiveTheWorkedResults) {
    const GeometryRow& r = GetParam();
    LoadedForm f;
    ASSERT_TRUE(f.pick(cboMovieFormat, r.format));
    ASSERT_TRUE(f.pick(cboHorizSize, r.size));
    EXPECT_EQ(f.text(txtVertSize), r.vertSize);
    EXPECT_EQ(f.text(txtVSizeErr), r.vSizeErr);
    EXPECT_EQ(f.text(txtHorizCrop), r.size);
    EXPECT_EQ(f.text(txtVertCrop), r.vertCrop);
    EXPECT_EQ(f.text(txtVertOff), r.vertOff);
    EXPECT_EQ(f.text(txtVSizeErrCrop), r.vSizeErrCrop);
    EXPECT_TRUE(f.reports.empty());
}

constexpr const char* kDvd = "DVD Fullscreen (1.5:1)";
constexpr const char* kTv = "TV (4:3)";
constexpr const char* kCine = "Cine 35mm (1.85:1)";
constexpr const char* kScope = "Cinemascope (2.35:1)";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Worked, GeometryRows,
    ::testing::Values(
        GeometryRow{"720", kDvd, "480", "0", "480", "0", "0"},
        GeometryRow{"720", kTv, "480", "0", "528", "-24", "13"},
        GeometryRow{"720", kCine, "480", "0", "384", "48", "5"},
        GeometryRow{"720", kScope, "480", "0", "304", "88", "2"},
        GeometryRow{"704", kDvd, "464", "5", "464", "0", "5"},
        GeometryRow{"688", kDvd, "464", "11", "448", "8", "11"},
        GeometryRow{"640", kDvd, "432", "11", "416", "8", "11"},
        GeometryRow{"640", kTv, "432", "11", "480", "-24", "1"},
        GeometryRow{"640", kCine, "432", "11", "336", "48", "10"},
        GeometryRow{"640", kScope, "432", "11", "272", "80", "0"},
        GeometryRow{"560", kCine, "368", "5", "288", "40", "15"},
        GeometryRow{"352", kDvd, "240", "11", "224", "8", "11"},
        GeometryRow{"352", kTv, "240", "11", "256", "-8", "9"},
        GeometryRow{"352", kCine, "240", "11", "176", "32", "14"},
        GeometryRow{"352", kScope, "240", "11", "144", "48", "6"},
        GeometryRow{"32", kDvd, "16", "5", "16", "0", "5"},
        GeometryRow{"32", kScope, "16", "5", "0", "8", "14"},
        GeometryRow{"16", kDvd, "16", "11", "0", "8", "11"},
        GeometryRow{"16", kTv, "16", "11", "0", "8", "12"},
        GeometryRow{"16", kCine, "16", "11", "0", "8", "9"},
        GeometryRow{"16", kScope, "16", "11", "0", "8", "7"}),
    [](const auto& info) {
        std::string name = std::string(info.param.size) + "_" + info.param.format;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });
// clang-format on

// Every size with every format keeps the invariants of the snapping and centring.
TEST(GeometrySweep, AllSizesAndFormatsKeepTheInvariants) {
    LoadedForm f;
    const auto formats = f.form.Entries(cboMovieFormat);
    const auto sizes = f.form.Entries(cboHorizSize);
    for (std::size_t fi = 0; fi < formats.size(); ++fi) {
        ASSERT_TRUE(f.form.pickEntry(cboMovieFormat, static_cast<std::int16_t>(fi)));
        for (std::size_t si = 0; si < sizes.size(); ++si) {
            ASSERT_TRUE(f.form.pickEntry(cboHorizSize, static_cast<std::int16_t>(si)));
            const int size = std::stoi(sizes[si]);
            const int vert = std::stoi(f.text(txtVertSize));
            const int rounded = static_cast<int>(std::lround(size / 1.5));
            const int crop = std::stoi(f.text(txtVertCrop));
            const int raw = static_cast<int>(std::lround(size / kMovieFormats[fi].ratio));
            SCOPED_TRACE(sizes[si] + " " + formats[fi]);
            EXPECT_EQ(vert % 16, 0);
            EXPECT_GE(vert - rounded, -7);
            EXPECT_LE(vert - rounded, 8);
            EXPECT_EQ(std::stoi(f.text(txtVSizeErr)), rounded % 16);
            EXPECT_EQ(crop % 16, 0);
            EXPECT_LE(crop, raw);
            EXPECT_GT(crop, raw - 16);
            EXPECT_EQ(std::stoi(f.text(txtVSizeErrCrop)), raw - crop);
            EXPECT_EQ(f.text(txtVertOff), std::to_string((vert - crop) / 2));
            EXPECT_EQ((vert - crop) % 16, 0);  // so every offset is a whole multiple of 8
            EXPECT_EQ(f.text(txtHorizCrop), sizes[si]);
            // The crop of "DVD Fullscreen" drops what the resize snapped up.
            if (fi == 0) {
                EXPECT_EQ(f.text(txtVertOff), rounded % 16 >= 8 ? "8" : "0");
            }
            // "TV (4:3)" overshoots the frame from 224 up and at 192, 176 and 128; it fits
            // exactly at 208, 160, 144 and from 112 down to 32; at 16 it leaves 8 lines.
            if (fi == 1) {
                const bool overshoots = size >= 224 || size == 192 || size == 176 || size == 128;
                const int offset = std::stoi(f.text(txtVertOff));
                if (overshoots) {
                    EXPECT_TRUE(offset >= -32 && offset <= -8) << offset;
                } else {
                    EXPECT_EQ(offset, size == 16 ? 8 : 0);
                }
            }
        }
    }
    EXPECT_TRUE(f.reports.empty());
}

TEST(Resize, WritesBothBoxesThenTheCropInOrder) {
    LoadedForm f;
    ASSERT_TRUE(f.pick(cboMovieFormat, kScope));
    f.writes.clear();
    ASSERT_TRUE(f.pick(cboHorizSize, "640"));
    EXPECT_EQ(f.writes, (std::vector<std::string>{"txtVertSize=432", "txtVSizeErr=11", "txtHorizCrop=640",
                                                  "txtVertCrop=272", "txtVertOff=80", "txtVSizeErrCrop=0"}));
}

TEST(Crop, PickingAFormatLeavesTheResizeBoxesAlone) {
    LoadedForm f;
    ASSERT_TRUE(f.pick(cboHorizSize, "688"));
    f.writes.clear();
    ASSERT_TRUE(f.pick(cboMovieFormat, kTv));
    EXPECT_EQ(f.writes, (std::vector<std::string>{"txtHorizCrop=688", "txtVertCrop=512", "txtVertOff=-24",
                                                  "txtVSizeErrCrop=5"}));
}

// Sizes that the list never offers, to reach ties, a remainder of 8 and the failures.
struct OddSize {
    const char* name;
    const char* size;
    const char* vertSize;  // nullptr: the resize fails and writes nothing
    const char* vSizeErr;
    FailureKind failure = FailureKind::NotANumber;
};

void PrintTo(const OddSize& r, std::ostream* os) { *os << r.name; }

class OddSizes : public ::testing::TestWithParam<OddSize> {};

TEST_P(OddSizes, ResizeWithoutAFormat) {
    const OddSize& r = GetParam();
    FormModel form;
    bindHandlers(form);
    std::vector<Failure> reports;
    form.setReporter([&](const Failure& f) { reports.push_back(f); });
    form.AddEntry(cboHorizSize, r.size);
    form.SetText(txtVertSize, "old");
    form.SetText(txtVSizeErr, "old");
    EXPECT_EQ(form.pickEntry(cboHorizSize, 0), r.vertSize != nullptr);
    EXPECT_EQ(form.GetText(txtVertSize), r.vertSize ? r.vertSize : "old");
    EXPECT_EQ(form.GetText(txtVSizeErr), r.vSizeErr ? r.vSizeErr : "old");
    EXPECT_EQ(form.GetText(txtHorizCrop), "");  // no format: no crop
    if (r.vertSize) {
        EXPECT_TRUE(reports.empty());
    } else {
        ASSERT_EQ(reports.size(), 1U);
        EXPECT_EQ(reports[0].kind(), r.failure);
        EXPECT_EQ(reports[0].subject(), cboHorizSize);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Sizes, OddSizes,
    ::testing::Values(
        OddSize{"RemainderEightSnapsUp", "396", "272", "8"},
        OddSize{"TieDownToEven", "6.75", "0", "4"},
        OddSize{"TieUpToEven", "8.25", "0", "6"},
        OddSize{"HalfRoundsToEven", "720.75", "480", "0"},
        OddSize{"HalfRoundsUpToEven", "722.25", "480", "2"},
        OddSize{"Negative", "-100", "-64", "-3"},
        OddSize{"LargestSnapDown", "3221225458.5", "2147483632", "7"},  // rounded 2147483639
        OddSize{"SnapUpBeyond32Bits", "3221225460", nullptr, nullptr, FailureKind::Overflow},
        OddSize{"QuotientBeyond32Bits", "3221225472", nullptr, nullptr, FailureKind::Overflow},
        OddSize{"NotANumber", "abc", nullptr, nullptr},
        OddSize{"Empty", "", nullptr, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A size whose crop overflows while its resize does not: 1.33 divides less than 1.5.
TEST(CropFailure, AfterStepThreeOnlyTheWidthIsNew) {
    LoadedForm f;
    ASSERT_TRUE(f.pick(cboMovieFormat, kTv));
    f.form.AddEntry(cboHorizSize, "3000000000");
    f.writes.clear();
    EXPECT_FALSE(f.pick(cboHorizSize, "3000000000"));
    EXPECT_EQ(f.writes, (std::vector<std::string>{"txtVertSize=2000000000", "txtVSizeErr=0",
                                                  "txtHorizCrop=3000000000"}));
    ASSERT_EQ(f.reports.size(), 1U);
    EXPECT_EQ(f.reports[0].kind(), FailureKind::Overflow);
    EXPECT_EQ(f.reports[0].subject(), cboHorizSize);
    EXPECT_EQ(f.text(txtVertCrop), "528");  // 720 with "TV (4:3)", from before
}

TEST(CropFailure, AfterStepSevenWidthAndHeightAreNew) {
    LoadedForm f;
    f.form.SetText(txtVertSize, "4 80");
    f.writes.clear();
    EXPECT_FALSE(f.pick(cboMovieFormat, kScope));
    EXPECT_EQ(f.writes, (std::vector<std::string>{"txtHorizCrop=720", "txtVertCrop=304"}));
    ASSERT_EQ(f.reports.size(), 1U);
    EXPECT_EQ(f.reports[0].kind(), FailureKind::NotANumber);
    EXPECT_EQ(f.reports[0].subject(), txtVertSize);
    EXPECT_EQ(f.text(txtVertOff), "0");
}

TEST(CropFailure, NoSelectedFormatLeavesNoRatio) {
    FormModel form;
    form.AddEntry(cboHorizSize, "720");
    form.SetListIndex(cboHorizSize, 0);
    try {
        cboMovieFormat_Click(form);
        FAIL() << "the crop needs a ratio";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.kind(), FailureKind::NoRatio);
    }
    EXPECT_EQ(form.GetText(txtHorizCrop), "720");
    EXPECT_EQ(form.GetText(txtVertCrop), "");
}

TEST(Crop, HalfOffsetsUseTheDoubleForm) {
    LoadedForm f;
    f.form.SetText(txtVertSize, "481");
    ASSERT_TRUE(f.pick(cboMovieFormat, kDvd));
    EXPECT_EQ(f.text(txtVertOff), "0.5");

    LoadedForm comma(NumberFormat{','});
    comma.form.SetText(txtVertSize, "480,4");
    ASSERT_TRUE(comma.pick(cboMovieFormat, kTv));
    EXPECT_EQ(comma.text(txtVertOff), "-23,8");
}

}  // namespace
}  // namespace korvel
