#pragma once

// Random user actions for the core, drawn from a seeded generator whose output is fixed by
// the language standard, so a seed names the same sequence on every machine.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "ui/model/FormModel.h"

namespace korvel::stress {

// What a typed text is by the documented number grammar, judged independently of the
// code under test.
enum class Shape : std::uint8_t {
    Empty,      // no characters
    Number,     // blanks, sign, digits, one separator, exponent: never "not a number"
    Malformed,  // anything else: blanks only, lone signs and separators, letters, ...
};
Shape shapeOf(std::string_view text, NumberFormat format);

struct Action {
    enum class Kind : std::uint8_t { Pick, Edit, TypeList, Press };
    Kind kind = Kind::Press;
    Ctl control = Ctl::frmKorvel;
    std::int16_t position = 0;  // Pick only
    std::string text;           // Edit and TypeList only

    // The call that repeats this action, e.g. editText(txtVideoBitrate, "1e309").
    std::string describe() const;
};

class ActionSource {
public:
    ActionSource(std::uint64_t seed, NumberFormat format) : random_(seed), format_(format) {}

    // The next action for this form; lists are read only for their entry counts.
    Action next(const FormModel& form);

    // A text as users type them: numbers of every size and sign, blanks, lone signs and
    // separators, both separators, letters, hundreds of digits.
    std::string text();

    std::uint64_t below(std::uint64_t bound) { return random_() % bound; }
    bool chance(unsigned percent) { return below(100) < percent; }

private:
    std::string numberText();
    std::string malformedText();
    std::string digits(std::size_t count);
    std::string blanks();

    std::mt19937_64 random_;
    NumberFormat format_;
    // Keystroke typing: prefixes of one text, typed into one box one character at a time.
    std::string typing_;
    Ctl typingBox_ = Ctl::txtVideoBitrate;
    std::size_t typed_ = 0;
};

}  // namespace korvel::stress
