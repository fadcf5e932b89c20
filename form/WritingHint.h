#pragma once

#include <cstdint>

namespace korvel {

// How a text that is no number could be written so that it is one. The numbers find it while
// reading; the form's failure says it. It depends on nothing, so both can share it.
enum class WritingHint : std::uint8_t {
    None,
    DecimalSeparator,    // "90.5" where "," is written
    NoThousandsGrouping  // "1,500": a thousand and a half, or one and a half?
};

}  // namespace korvel
