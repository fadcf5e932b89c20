#include "form/Controls.h"

namespace korvel {
namespace {

using enum Ctl;
using enum Kind;
constexpr ListStyle None = ListStyle::None;
constexpr ListStyle Fixed = ListStyle::FixedList;
constexpr ListStyle Free = ListStyle::FreeText;

// clang-format off
constexpr std::array<ControlDef, kControlCount> kTable{{
    {frmKorvel, "frmKorvel", Form, frmKorvel, kWindowCaption, false, None, {0, 0, 8055, 3750}, -1},

    {Frame3, "Frame3", GroupBox, frmKorvel, "Bitrate", false, None, {120, 120, 3135, 3495}, 14},
    {Label11, "Label11", Label, Frame3, "Movie Length (minutes)", false, None, {240, 360, 2415, 255}, 22},
    {txtMovieLength, "txtMovieLength", TextBox, Frame3, "120", false, None, {240, 600, 615, 315}, 17},
    {cmdCalcLength, "cmdCalcLength", PushButton, Frame3, "<-- Calc", false, None, {2160, 600, 735, 375}, 23},
    {Label9, "Label9", Label, Frame3, "Resulting File Length (MB)", false, None, {240, 1080, 2415, 255}, 19},
    {txtFileSize, "txtFileSize", TextBox, Frame3, "", false, None, {240, 1320, 1335, 315}, 20},
    {cmdCalcFileSize, "cmdCalcFileSize", PushButton, Frame3, "<-- Calc",
        false, None, {2160, 1320, 735, 375}, 24},
    {Label4, "Label4", Label, Frame3, "Audio Bitrate (Kbit/s)", false, None, {240, 1800, 2415, 255}, 16},
    {cboAudioBitrate, "cboAudioBitrate", DropDownList, Frame3, "Combo1",
        false, Free, {240, 2040, 2655, 315}, 15},
    {Label8, "Label8", Label, Frame3, "Video Bitrate (Kbit/s)", false, None, {240, 2520, 2415, 255}, 18},
    {txtVideoBitrate, "txtVideoBitrate", TextBox, Frame3, "", false, None, {240, 2760, 615, 315}, 21},
    {txtVideoBitrateSceneDetect, "txtVideoBitrateSceneDetect", TextBox, Frame3, "",
        true, None, {1080, 2760, 615, 315}, 26},
    {cmdCalcVideoBitrate, "cmdCalcVideoBitrate", PushButton, Frame3, "<-- Calc",
        false, None, {2160, 2760, 735, 375}, 25},
    {Label12, "Label12", Label, Frame3, "Normal", false, None, {240, 3120, 615, 255}, 28},
    {Label10, "Label10", Label, Frame3, "Scene Detect", false, None, {1080, 3120, 1095, 255}, 27},

    {Frame2, "Frame2", GroupBox, frmKorvel, "Resizing", false, None, {3360, 120, 4575, 1335}, 9},
    {Label1, "Label1", Label, Frame2, "Horizontal Size", false, None, {240, 360, 1215, 255}, 13},
    {Label2, "Label2", Label, Frame2, "Set Vertical Size", false, None, {1560, 360, 1215, 255}, 12},
    {Label13, "Label13", Label, Frame2, "Aspect Error (pixels)", false, None, {3000, 360, 1455, 255}, 30},
    {cboHorizSize, "cboHorizSize", DropDownList, Frame2, "", false, Fixed, {240, 600, 1095, 315}, 11},
    {txtVertSize, "txtVertSize", TextBox, Frame2, "", true, None, {1560, 600, 1215, 375}, 10},
    {txtVSizeErr, "txtVSizeErr", TextBox, Frame2, "", true, None, {3000, 600, 1095, 375}, 29},

    {Frame1, "Frame1", GroupBox, frmKorvel, "Cropping", false, None, {3360, 1560, 4575, 2055}, 0},
    {Label3, "Label3", Label, Frame1, "Choose Movie Format", false, None, {240, 360, 1695, 255}, 8},
    {Label14, "Label14", Label, Frame1, "V Size Error (pixels)", false, None, {3000, 360, 1455, 255}, 32},
    {cboMovieFormat, "cboMovieFormat", DropDownList, Frame1, "", false, Fixed, {240, 600, 2535, 315}, 7},
    {txtVSizeErrCrop, "txtVSizeErrCrop", TextBox, Frame1, "", true, None, {3000, 600, 1215, 375}, 31},
    {Label5, "Label5", Label, Frame1, "Horizontal Size", false, None, {240, 1080, 1215, 255}, 6},
    {Label6, "Label6", Label, Frame1, "Vertical Size", false, None, {1560, 1080, 1215, 255}, 5},
    {Label7, "Label7", Label, Frame1, "Vertical Offset", false, None, {3000, 1080, 1215, 255}, 4},
    {txtHorizCrop, "txtHorizCrop", TextBox, Frame1, "", true, None, {240, 1320, 1215, 375}, 3},
    {txtVertCrop, "txtVertCrop", TextBox, Frame1, "", true, None, {1560, 1320, 1215, 375}, 2},
    {txtVertOff, "txtVertOff", TextBox, Frame1, "", true, None, {3000, 1320, 1215, 375}, 1},
}};
// clang-format on

constexpr bool tableIsInEnumOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (static_cast<std::size_t>(kTable[i].id) != i) return false;
    }
    return true;
}
static_assert(tableIsInEnumOrder(), "the control table must follow the order of Ctl");

constexpr bool takesFocus(Kind k) { return k == TextBox || k == DropDownList || k == PushButton; }

constexpr std::array<Ctl, 16> makeFocusOrder() {
    std::array<Ctl, 16> order{};
    std::size_t n = 0;
    for (int tab = 0; tab < static_cast<int>(kControlCount); ++tab) {
        for (const auto& c : kTable) {
            if (c.tabIndex == tab && takesFocus(c.kind)) order[n++] = c.id;
        }
    }
    return order;
}
constexpr std::array<Ctl, 16> kFocusOrder = makeFocusOrder();

}  // namespace

const std::array<ControlDef, kControlCount>& controlTable() { return kTable; }

Rect toPixels(const Rect& t) {
    constexpr int kTwipsPerPixel = 15;
    return {t.left / kTwipsPerPixel, t.top / kTwipsPerPixel, t.width / kTwipsPerPixel,
            t.height / kTwipsPerPixel};
}

const std::array<Ctl, 16>& focusOrder() { return kFocusOrder; }

}  // namespace korvel
