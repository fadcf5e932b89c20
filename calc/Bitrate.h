#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "calc/Numbers.h"
#include "form/FormModel.h"

namespace korvel {

struct AudioBitrate {
    std::string_view entry;
    std::int16_t kbits;
};

// clang-format off
inline constexpr std::array<AudioBitrate, 9> kAudioBitrates{{
    {"256 Kbit/s", 256}, {"192 Kbit/s", 192}, {"160 Kbit/s", 160},
    {"128 Kbit/s", 128}, {"112 Kbit/s", 112}, {"96 Kbit/s", 96},
    {"64 Kbit/s", 64},   {"32 Kbit/s", 32},   {"16 Kbit/s", 16},
}};
// clang-format on

// The audio bitrate of the selected entry, by position; 0 when none is selected. The
// list's text is never read, so a typed bitrate counts as 0.
std::int16_t GetAudioBitrate(const FormModel& form);

// The three "<-- Calc" buttons: each reads its two inputs and the audio bitrate, writes
// its result rounded once at the end, then the scene-detect figure.
//   file size x 1024 x 8 = (video + audio) x length x 60
void cmdCalcVideoBitrate_Click(FormModel& form, NumberFormat format);
void cmdCalcFileSize_Click(FormModel& form, NumberFormat format);
void cmdCalcLength_Click(FormModel& form, NumberFormat format);

// Follows every change of the video bitrate: 1.2 times it, or empty for an empty text and
// for a text that gives no figure (no number, or a figure beyond the 32-bit range).
void txtVideoBitrate_Change(FormModel& form, NumberFormat format);

}  // namespace korvel
