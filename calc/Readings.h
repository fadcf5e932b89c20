#pragma once

#include "ui/model/FormModel.h"

namespace korvel {

// A control's text as a number; a failure names that control and shows its text.
inline double readNumber(const FormModel& form, Ctl c) {
    const std::string& text = form.GetText(c);
    try {
        return TextToNumber(text, form.numberFormat());
    } catch (Failure& failure) {
        failure.blame(c, text);
        throw;
    }
}

}  // namespace korvel
