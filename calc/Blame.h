#pragma once

// Which box a failing step blames: the calculators name the box the user can change to
// avoid a failure, and the quantity that could not be calculated. Here a number's error
// becomes the form's failure.

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "calc/Numbers.h"
#include "form/FormModel.h"

namespace korvel {

// The form's failure for a number's error: `subject` is the box at fault, `quantity` the
// quantity that could not be calculated where it is not the subject itself.
Failure failureOf(const NumberError& error, Ctl subject, std::optional<Ctl> quantity = std::nullopt);

// A control's text as a number; a failure names that control.
double readNumber(const FormModel& form, Ctl c, NumberFormat format);

// How an input enters a result: multiplied in, or as what the result is divided by.
enum class Enters : std::uint8_t { AsFactor, AsDivisor };

// An input of a calculation: the box it is read from and the value it enters with.
struct Input {
    Ctl box;
    double value;
    Enters enters = Enters::AsFactor;
};

// The input whose value makes a result too large: a divisor of magnitude below 1, where
// there is one (so a divisor of 0 too), otherwise the input of the largest magnitude.
Ctl inputAtFault(std::initializer_list<Input> inputs);

// Runs one arithmetic step of calculating `quantity`; a failure in it names the box the user
// can change (`atFault`) and the quantity that could not be calculated.
template <class Step>
auto calculating(Ctl quantity, Ctl atFault, Step&& step) {
    try {
        return step();
    } catch (const NumberError& error) {
        throw failureOf(error, atFault, quantity);
    }
}

}  // namespace korvel
