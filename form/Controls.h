#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korvel {

// Every control of the one window, in the order of the control table (Controls.cpp): by container,
// then from top to bottom and left to right. The enumerators are the control names.
// clang-format off
enum class Ctl : std::uint8_t {
    frmKorvel,
    Frame3, Label11, txtMovieLength, cmdCalcLength, Label9, txtFileSize, cmdCalcFileSize,
    Label4, cboAudioBitrate, Label8, txtVideoBitrate, txtVideoBitrateSceneDetect,
    cmdCalcVideoBitrate, Label12, Label10,
    Frame2, Label1, Label2, Label13, cboHorizSize, txtVertSize, txtVSizeErr,
    Frame1, Label3, Label14, cboMovieFormat, txtVSizeErrCrop, Label5, Label6, Label7,
    txtHorizCrop, txtVertCrop, txtVertOff,
};
// clang-format on

inline constexpr std::size_t kControlCount = 34;  // the form and its 33 controls

enum class Kind : std::uint8_t { Form, GroupBox, Label, TextBox, DropDownList, PushButton };

enum class ListStyle : std::uint8_t { None, FixedList, FreeText };

// A control's place and outer size: Left and Top relative to its container's outer edge
// (the form's own are unused). In twips (1440 to the inch) in the table, in logical pixels
// on the screen.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDef {
    Ctl id;
    std::string_view name;
    Kind kind;
    Ctl container;                 // the form is its own container
    std::string_view initialText;  // caption of forms, frames, labels and buttons
    bool readOnly;
    ListStyle style;
    Rect twips;
    int tabIndex;  // -1 for the form
};

const std::array<ControlDef, kControlCount>& controlTable();

inline const ControlDef& controlDef(Ctl c) { return controlTable()[static_cast<std::size_t>(c)]; }
inline std::string_view controlName(Ctl c) { return controlDef(c).name; }

inline constexpr std::string_view kWindowCaption = "Korvel;) Video Setup";

// 15 twips make one logical pixel at 96 dots per inch; every length of the table
// is a multiple of 15.
Rect toPixels(const Rect& twips);

// The focus order: the controls that can take the focus, by rising tab index.
const std::array<Ctl, 16>& focusOrder();

}  // namespace korvel
