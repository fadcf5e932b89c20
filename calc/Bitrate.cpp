#include "calc/Bitrate.h"

#include "calc/Blame.h"

namespace korvel {
namespace {

using enum Ctl;

// The scene-detect figure of the current video bitrate text; the closing step of every
// calculator and the body of the change handler. A video bitrate that gives no figure
// leaves the box empty, not showing the figure of an earlier text, and the failure goes on.
void writeSceneDetect(FormModel& form, NumberFormat format) {
    std::int32_t figure = 0;
    try {
        const double videoBitrate = readNumber(form, txtVideoBitrate, format);
        figure = calculating(txtVideoBitrateSceneDetect, txtVideoBitrate,
                             [&] { return RoundToLong(Times(videoBitrate, 1.2)); });
    } catch (const Failure&) {
        form.SetText(txtVideoBitrateSceneDetect, "");
        throw;
    }
    form.SetText(txtVideoBitrateSceneDetect, NumberToText(figure));
}

}  // namespace

std::int16_t GetAudioBitrate(const FormModel& form) {
    const std::int16_t position = form.GetListIndex(cboAudioBitrate);
    if (position < 0 || static_cast<std::size_t>(position) >= kAudioBitrates.size()) return 0;
    return kAudioBitrates[static_cast<std::size_t>(position)].kbits;
}

void cmdCalcVideoBitrate_Click(FormModel& form, NumberFormat format) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double fileSize = readNumber(form, txtFileSize, format);
    const double fileSizeKb =
        calculating(txtVideoBitrate, txtFileSize, [&] { return Times(fileSize, 1024.0); });
    const double kbitPerKbMinute = TwoFifteenthsSingle();  // 8 kbit per KB / 60 s per minute
    const double length = readNumber(form, txtMovieLength, format);
    const Ctl atFault = inputAtFault({{txtFileSize, fileSize}, {txtMovieLength, length, Enters::AsDivisor}});
    const std::int32_t rounded = calculating(txtVideoBitrate, atFault, [&] {
        const double kbPerMinute = Divide(fileSizeKb, length);
        return RoundToLong(Minus(Times(kbitPerKbMinute, kbPerMinute), audio));
    });
    form.SetText(txtVideoBitrate, NumberToText(rounded));
    writeSceneDetect(form, format);
}

void cmdCalcFileSize_Click(FormModel& form, NumberFormat format) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double videoBitrate = readNumber(form, txtVideoBitrate, format);
    const double kbPerSecond =
        calculating(txtFileSize, txtVideoBitrate, [&] { return Divide(Plus(videoBitrate, audio), 8); });
    const double length = readNumber(form, txtMovieLength, format);
    const Ctl atFault = inputAtFault({{txtVideoBitrate, videoBitrate}, {txtMovieLength, length}});
    const std::int32_t rounded = calculating(txtFileSize, atFault, [&] {
        return RoundToLong(Divide(Times(Times(kbPerSecond, length), 60), 1024));
    });
    form.SetText(txtFileSize, NumberToText(rounded));
    writeSceneDetect(form, format);
}

void cmdCalcLength_Click(FormModel& form, NumberFormat format) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double fileSize = readNumber(form, txtFileSize, format);
    const double fileSizeKb =
        calculating(txtMovieLength, txtFileSize, [&] { return Times(fileSize, 1024.0); });
    const double videoBitrate = readNumber(form, txtVideoBitrate, format);
    const double totalBitrate =
        calculating(txtMovieLength, txtVideoBitrate, [&] { return Plus(videoBitrate, audio); });
    // The total bitrate, not the video bitrate alone, is what the file size is divided by.
    const Ctl atFault =
        inputAtFault({{txtFileSize, fileSize}, {txtVideoBitrate, totalBitrate, Enters::AsDivisor}});
    const std::int32_t rounded = calculating(txtMovieLength, atFault, [&] {
        const double kbPerSecond = Divide(totalBitrate, 8);
        // A total of a few 1E-324 has no eighth in doubles; dividing by that 0 fails, but the
        // total is not 0, and the sentence must not say it is.
        if (kbPerSecond == 0 && totalBitrate != 0) throw NumberError(NumberProblem::DivisorTooSmall);
        return RoundToLong(Divide(Divide(fileSizeKb, kbPerSecond), 60));
    });
    form.SetText(txtMovieLength, NumberToText(rounded));
    writeSceneDetect(form, format);
}

void txtVideoBitrate_Change(FormModel& form, NumberFormat format) {
    if (IsEmptyText(form.GetText(txtVideoBitrate))) {
        form.SetText(txtVideoBitrateSceneDetect, "");
        return;
    }
    writeSceneDetect(form, format);
}

}  // namespace korvel
