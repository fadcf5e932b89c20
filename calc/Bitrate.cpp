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
    const Ctl atFault = inputAtFault({{txtFileSize, fileSize}, {txtMovieLength, length, true}});
    const std::int32_t rounded = forming(txtVideoBitrate, atFault, [&] {
        const double kbPerMinute = Divide(fileSizeKb, length);
        return RoundToLong(Minus(Times(kbitPerKbMinute, kbPerMinute), audio));
    });
    form.SetText(txtVideoBitrate, NumberToText(rounded));
    writeSceneDetect(form);
}

void cmdCalcFileSize_Click(FormModel& form) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double videoBitrate = readNumber(form, txtVideoBitrate);
    const double kbPerSecond =
        forming(txtFileSize, txtVideoBitrate, [&] { return Divide(Plus(videoBitrate, audio), 8); });
    const double length = readNumber(form, txtMovieLength);
    const Ctl atFault = inputAtFault({{txtVideoBitrate, videoBitrate}, {txtMovieLength, length}});
    const std::int32_t rounded = forming(txtFileSize, atFault, [&] {
        return RoundToLong(Divide(Times(Times(kbPerSecond, length), 60), 1024));
    });
    form.SetText(txtFileSize, NumberToText(rounded));
    writeSceneDetect(form);
}

void cmdCalcLength_Click(FormModel& form) {
    const std::int16_t audio = GetAudioBitrate(form);
    const double fileSize = readNumber(form, txtFileSize);
    const double fileSizeKb = forming(txtMovieLength, txtFileSize, [&] { return Times(fileSize, 1024.0); });
    const double videoBitrate = readNumber(form, txtVideoBitrate);
    const double totalBitrate =
        forming(txtMovieLength, txtVideoBitrate, [&] { return Plus(videoBitrate, audio); });
    // The total bitrate, not the video bitrate alone, is what the file size is divided by.
    const Ctl atFault = inputAtFault({{txtFileSize, fileSize}, {txtVideoBitrate, totalBitrate, true}});
    const std::int32_t rounded = forming(txtMovieLength, atFault, [&] {
        const double kbPerSecond = Divide(totalBitrate, 8);
        return RoundToLong(Divide(Divide(fileSizeKb, kbPerSecond), 60));
    });
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

std::string Caution(const FormModel& form, Ctl c) {
    // No entry is worth 0, so 0 means that none is selected.
    if (c != cboAudioBitrate || GetAudioBitrate(form) != 0) return {};
    const std::string& text = form.GetText(c);
    if (text.empty()) return "The audio bitrate is empty, so it counts as 0 kbit/s.";
    return "The audio bitrate " + quoted(text) +
           " is not one of the listed bitrates, so it counts as 0 kbit/s.";
}

}  // namespace korvel
