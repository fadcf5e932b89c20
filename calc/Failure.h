#pragma once

#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "ui/model/Controls.h"

namespace korvel {

enum class FailureKind {
    NotANumber,        // a text that TextToNumber cannot read, the empty text included
    DivisionByZero,    // 0 / 0 included
    Overflow,          // beyond the double range or the 32-bit range of a result
    InvalidOperation,  // a floating-point operation without a defined result
    NoRatio,           // the movie-format list has no entry selected, so there is no ratio
    Internal,          // anything else thrown inside a handler; never expected
};

// The one error a handler can fail with. It unwinds the running handler and every
// handler it is nested in, up to the user action that started them, which reports it.
class Failure : public std::exception {
public:
    Failure(FailureKind kind, std::string text = {}, std::optional<Ctl> subject = std::nullopt,
            std::optional<Ctl> quantity = std::nullopt);

    FailureKind kind() const { return kind_; }
    // The offending text (for NotANumber), empty otherwise.
    const std::string& text() const { return text_; }
    // The box at fault: the control whose text failed, or the box the user can change to
    // avoid an overflow.
    std::optional<Ctl> subject() const { return subject_; }
    // The quantity that could not be formed, where it is not the subject itself.
    std::optional<Ctl> quantity() const { return quantity_ ? quantity_ : subject_; }
    // Names the box at fault (and its text, and the quantity being formed), unless an
    // inner step already named one.
    void blame(Ctl c, std::string_view text = {}, std::optional<Ctl> quantity = std::nullopt);
    // For a text that would read as a number with the other decimal separator: the
    // sentence then says to write decimals with `separator`.
    void hintSeparator(char separator);

    // One sentence for the user that names the quantity and the problem.
    const char* what() const noexcept override { return message_.c_str(); }

private:
    FailureKind kind_;
    std::string text_;
    std::optional<Ctl> subject_;
    std::optional<Ctl> quantity_;
    char separator_ = 0;  // 0: no hint
    std::string message_;
};

// A user's text as a sentence quotes it: in double quotes, and shortened with "..." when it
// is too long for one line of a dialog.
std::string quoted(std::string_view text);

// An input of a calculation: the box it is read from, the value it enters with, and whether
// the result is divided by it.
struct Input {
    Ctl box;
    double value;
    bool divisor = false;
};

// The input whose value makes a result too large: a divisor of magnitude below 1, where
// there is one (so a divisor of 0 too), otherwise the input of the largest magnitude.
Ctl inputAtFault(std::initializer_list<Input> inputs);

// Runs an arithmetic step of the calculation of `quantity`; a failure names the box the
// user can change (`atFault`) and the quantity that could not be formed.
template <class F>
auto forming(Ctl quantity, Ctl atFault, F&& step) {
    try {
        return step();
    } catch (Failure& failure) {
        failure.blame(atFault, {}, quantity);
        throw;
    }
}

}  // namespace korvel
