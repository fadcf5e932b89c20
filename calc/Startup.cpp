#include "calc/Startup.h"

#include <cstdint>

#include "calc/Bitrate.h"
#include "calc/Geometry.h"

namespace korvel {

void Form_Load(FormModel& form) {
    using enum Ctl;
    for (std::int16_t size = 720; size >= 16; size = static_cast<std::int16_t>(size - 16)) {
        form.AddEntry(cboHorizSize, NumberToText(std::int32_t{size}));
    }
    form.SetListIndex(cboHorizSize, 0);

    for (const auto& format : kMovieFormats) form.AddEntry(cboMovieFormat, format.entry);
    form.SetListIndex(cboMovieFormat, 0);

    for (const auto& audio : kAudioBitrates) form.AddEntry(cboAudioBitrate, audio.entry);
    form.SetListIndex(cboAudioBitrate, 3);
}

void bindHandlers(FormModel& form, NumberFormat format) {
    using enum Ctl;
    auto bind = [&form, format](Ctl c, Event e, void (*handler)(FormModel&, NumberFormat)) {
        form.on(c, e, [&form, format, handler] { handler(form, format); });
    };
    form.on(frmKorvel, Event::Load, [&form] { Form_Load(form); });
    bind(cboHorizSize, Event::Click, cboHorizSize_Click);
    bind(cboMovieFormat, Event::Click, cboMovieFormat_Click);
    bind(cmdCalcVideoBitrate, Event::Click, cmdCalcVideoBitrate_Click);
    bind(cmdCalcFileSize, Event::Click, cmdCalcFileSize_Click);
    bind(cmdCalcLength, Event::Click, cmdCalcLength_Click);
    bind(txtVideoBitrate, Event::Change, txtVideoBitrate_Change);
}

}  // namespace korvel
