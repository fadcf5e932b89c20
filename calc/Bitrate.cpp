#include "calc/Bitrate.h"

#include "calc/Readings.h"

namespace korvel {
namespace {

using enum Ctl;

// The scene-detect figure of the current video bitrate text; the closing step of every
// calculator and the body of the change handler.
void writeSceneDetect(FormModel& form) {
    const double videoBitrate = readNumber(form, txtVideoBitrate);
    const std::int32_t figure = forming(txtVideoBitrateSceneDetect, txtVideoBitrate,
                                        [&] { return RoundToLong(Times(videoBitrate, 1.2)); });
    form.SetText(txtVideoBitrateSceneDetect, NumberToText(figure));
}

}  // namespace

std::int16_t GetAudioBitrate(const FormModel& form) {
    const std::int16_t position = form.GetListIndex(cboAudioBitrate);
    if (position < 0 || static_cast<std::size_t>(position) >= kAudioBitrates.size()) return 0;
    return kAudioBitrates[static_cast<std::size_t>(position)].kbits;
}

void cmdCalcVideoBitrate_Click(FormModel& form) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double fileSize = readNumber(form, txtFileSize);
    const double fileSizeKb = forming(txtVideoBitrate, txtFileSize, [&] { return Times(fileSize, 1024.0); });
    const double kbitPerKbMinute = TwoFifteenthsSingle();  // 8 kbit per KB / 60 s per minute
    const double length = readNumber(form, txtMovieLength);
    const double videoBitrate = forming(txtVideoBitrate, txtMovieLength, [&] {
        const double kbPerMinute = Divide(fileSizeKb, length);
        return Minus(Times(kbitPerKbMinute, kbPerMinute), audio);
    });
    const std::int32_t rounded =
        forming(txtVideoBitrate, txtFileSize, [&] { return RoundToLong(videoBitrate); });
    form.SetText(txtVideoBitrate, NumberToText(rounded));
    writeSceneDetect(form);
}

void cmdCalcFileSize_Click(FormModel& form) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double videoBitrate = readNumber(form, txtVideoBitrate);
    const double kbPerSecond =
        forming(txtFileSize, txtVideoBitrate, [&] { return Divide(Plus(videoBitrate, audio), 8); });
    const double length = readNumber(form, txtMovieLength);
    const double fileSize = forming(txtFileSize, txtMovieLength,
                                    [&] { return Divide(Times(Times(kbPerSecond, length), 60), 1024); });
    const std::int32_t rounded = forming(txtFileSize, txtVideoBitrate, [&] { return RoundToLong(fileSize); });
    form.SetText(txtFileSize, NumberToText(rounded));
    writeSceneDetect(form);
}

void cmdCalcLength_Click(FormModel& form) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double fileSize = readNumber(form, txtFileSize);
    const double fileSizeKb = forming(txtMovieLength, txtFileSize, [&] { return Times(fileSize, 1024.0); });
    const double videoBitrate = readNumber(form, txtVideoBitrate);
    const double length = forming(txtMovieLength, txtVideoBitrate, [&] {
        const double kbPerSecond = Divide(Plus(videoBitrate, audio), 8);
        return Divide(Divide(fileSizeKb, kbPerSecond), 60);
    });
    const std::int32_t rounded = forming(txtMovieLength, txtFileSize, [&] { return RoundToLong(length); });
    form.SetText(txtMovieLength, NumberToText(rounded));
    writeSceneDetect(form);
}

void txtVideoBitrate_Change(FormModel& form) {
    if (IsEmptyText(form.GetText(txtVideoBitrate))) {
        form.SetText(txtVideoBitrateSceneDetect, "");
        return;
    }
    writeSceneDetect(form);
}

}  // namespace korvel
