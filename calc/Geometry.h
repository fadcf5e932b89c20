#pragma once

#include <array>
#include <string_view>

#include "calc/Numbers.h"
#include "form/FormModel.h"

namespace korvel {

struct MovieFormat {
    std::string_view entry;
    double ratio;  // width to height, chosen by list position, never parsed from the entry
};

// "TV (4:3)" divides by 1.33, not 4/3: the crop heights users know depend on it.
inline constexpr std::array<MovieFormat, 4> kMovieFormats{{
    {"DVD Fullscreen (1.5:1)", 1.5},
    {"TV (4:3)", 1.33},
    {"Cine 35mm (1.85:1)", 1.85},
    {"Cinemascope (2.35:1)", 2.35},
}};

// Resize: the vertical size for the picked horizontal size at a ratio of 1.5, snapped to a
// multiple of 16 (a remainder of 8 or more snaps up), then the crop when a format is chosen.
void cboHorizSize_Click(FormModel& form, NumberFormat format);

// Crop: the lines the movie format fills at this width, rounded down to a multiple of 16,
// and the offset that centres them in the resized frame.
void cboMovieFormat_Click(FormModel& form, NumberFormat format);

}  // namespace korvel
