#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "form/Controls.h"
#include "form/WritingHint.h"

namespace korvel {

enum class FailureKind : std::uint8_t {
    NotANumber,         // a text that cannot be read as a number, the empty text included
    DivisionByZero,     // 0 / 0 included
    DivisorTooSmall,    // a divisor that is not 0, though too close to 0 to divide by
    Overflow,           // beyond the double range or the 32-bit range of a result
    OverflowBelowZero,  // the same, below zero
    InvalidOperation,   // a floating-point operation without a defined result
    NoRatio,            // the movie-format list has no entry selected, so there is no ratio
    Internal,           // anything else thrown inside a handler; never expected
};

// The one error a handler can fail with. It unwinds the running handler and every
// handler it is nested in, up to the user action that started them, which reports it.
class Failure : public std::exception {
public:
    Failure(FailureKind kind, std::string text = {}, std::optional<Ctl> subject = std::nullopt,
            std::optional<Ctl> quantity = std::nullopt);

    FailureKind kind() const { return kind_; }
    // The box at fault: the control whose text failed, or the box the user can change to
    // avoid an overflow.
    std::optional<Ctl> subject() const { return subject_; }
    // The quantity that could not be formed, where it is not the subject itself.
    std::optional<Ctl> quantity() const { return quantity_ ? quantity_ : subject_; }
    // For a text that is no number: how to write it, with `decimalSeparator` for decimals.
    void advise(WritingHint hint, char decimalSeparator);
    // For a text that is no number: the byte at which reading it stops, so that a sentence
    // that has to shorten the text still shows it.
    void stopsAt(std::size_t position);

    // One sentence for the user that names the quantity and the problem.
    const char* what() const noexcept override { return message_.c_str(); }

private:
    void describe();

    FailureKind kind_;
    std::string text_;  // one that is not a number, or a number too large to calculate with
    std::optional<Ctl> subject_;
    std::optional<Ctl> quantity_;
    WritingHint hint_ = WritingHint::None;
    char decimalSeparator_ = '.';
    std::size_t stop_ = std::string::npos;
    std::string message_;
};

// A user's text as a sentence quotes it: in double quotes, and shortened with "…" when it is
// too long for one line of a dialog. A shortened text keeps its start and, where it is given,
// the character at `stop` (where reading it stops) with a few before it. Inside the quotes the
// text is a direction isolate, so that a right-to-left text cannot reorder the sentence around
// it, and a character that would act rather than show (a control, a direction mark or override,
// a zero-width one) is shown by its code ("[U+202E]"), a byte that is no UTF-8 by its value
// ("[0xFF]"). The quote then holds no NUL either, so it does not end a C string early.
std::string quoted(std::string_view text, std::size_t stop = std::string::npos);

}  // namespace korvel
