#include "calc/Geometry.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "calc/Blame.h"

namespace korvel {

void cboHorizSize_Click(FormModel& form, NumberFormat format) {
    using enum Ctl;
    const double horizontalSize = readNumber(form, cboHorizSize, format);
    const double quotient =
        calculating(txtVertSize, cboHorizSize, [&] { return Divide(horizontalSize, 1.5); });
    const std::int32_t roundedHeight =
        calculating(txtVertSize, cboHorizSize, [&] { return RoundToLong(quotient); });
    const std::int32_t remainder = Mod(roundedHeight, 16);
    std::int64_t verticalSize = roundedHeight - remainder;
    if (remainder >= 8) verticalSize += 16;
    // Snapping up the largest heights would leave the 32-bit range; refuse rather than wrap.
    if (verticalSize > std::numeric_limits<std::int32_t>::max()) {
        throw Failure(FailureKind::Overflow, {}, cboHorizSize, txtVertSize);
    }
    form.SetText(txtVertSize, NumberToText(static_cast<std::int32_t>(verticalSize)));
    form.SetText(txtVSizeErr, NumberToText(remainder));
    if (!IsEmptyText(form.GetText(cboMovieFormat))) cboMovieFormat_Click(form, format);
}

void cboMovieFormat_Click(FormModel& form, NumberFormat format) {
    using enum Ctl;
    form.SetText(txtHorizCrop, std::string(form.GetText(cboHorizSize)));

    const std::int16_t position = form.GetListIndex(cboMovieFormat);
    std::optional<double> ratio;
    if (position >= 0 && static_cast<std::size_t>(position) < kMovieFormats.size()) {
        ratio = kMovieFormats[static_cast<std::size_t>(position)].ratio;
    }

    const double horizontalSize = readNumber(form, cboHorizSize, format);
    if (!ratio) throw Failure(FailureKind::NoRatio, {}, cboMovieFormat, txtVertCrop);
    const std::int32_t rawCropHeight =
        calculating(txtVertCrop, cboHorizSize, [&] { return RoundToLong(Divide(horizontalSize, *ratio)); });
    const std::int32_t cropRemainder = Mod(rawCropHeight, 16);
    const std::int32_t cropHeight = rawCropHeight - cropRemainder;
    form.SetText(txtVertCrop, NumberToText(cropHeight));

    const double verticalSize = readNumber(form, txtVertSize, format);
    const double offset =
        calculating(txtVertOff, txtVertSize, [&] { return Divide(Minus(verticalSize, cropHeight), 2); });
    form.SetText(txtVertOff, NumberToText(offset, format));
    form.SetText(txtVSizeErrCrop, NumberToText(cropRemainder));
}

}  // namespace korvel
