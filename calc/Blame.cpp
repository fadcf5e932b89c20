#include "calc/Blame.h"

#include <cmath>

namespace korvel {
namespace {

FailureKind kindOf(const NumberError& error) {
    switch (error.problem) {
        case NumberProblem::NotANumber:
            return FailureKind::NotANumber;
        case NumberProblem::DivisionByZero:
            return FailureKind::DivisionByZero;
        case NumberProblem::DivisorTooSmall:
            return FailureKind::DivisorTooSmall;
        case NumberProblem::Overflow:
            return error.belowZero ? FailureKind::OverflowBelowZero : FailureKind::Overflow;
        case NumberProblem::InvalidOperation:
            break;
    }
    return FailureKind::InvalidOperation;
}

}  // namespace

Failure failureOf(const NumberError& error, Ctl subject, std::optional<Ctl> quantity) {
    Failure failure(kindOf(error), error.text, subject, quantity);
    if (error.hint != WritingHint::None) failure.advise(error.hint, error.decimalSeparator);
    failure.stopsAt(error.stop);
    return failure;
}

double readNumber(const FormModel& form, Ctl c, NumberFormat format) {
    try {
        return TextToNumber(form.GetText(c), format);
    } catch (const NumberError& error) {
        throw failureOf(error, c);
    }
}

Ctl inputAtFault(std::initializer_list<Input> inputs) {
    // Dividing by a magnitude below 1 enlarges the dividend, whatever it is.
    for (const Input& input : inputs) {
        if (input.enters == Enters::AsDivisor && std::fabs(input.value) < 1.0) return input.box;
    }
    const Input* largest = inputs.begin();
    for (const Input& input : inputs) {
        if (std::fabs(input.value) > std::fabs(largest->value)) largest = &input;
    }
    return largest->box;
}

}  // namespace korvel
