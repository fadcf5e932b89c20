#pragma once

#include "calc/Numbers.h"
#include "form/FormModel.h"

namespace korvel {

// Fills the three lists and selects "720", "DVD Fullscreen (1.5:1)" and "128 Kbit/s";
// the first two selections run the resize and the crop through their click events.
void Form_Load(FormModel& form);

// Registers Form_Load and every calculator as the handler of its control's event; the
// calculators read and write numbers with `format`, the user's decimal separator.
void bindHandlers(FormModel& form, NumberFormat format);

}  // namespace korvel
