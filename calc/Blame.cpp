#include "calc/Blame.h"

#include <cmath>

namespace korvel {

double readNumber(const FormModel& form, Ctl c, NumberFormat format) {
    try {
        return TextToNumber(form.GetText(c), format);
    } catch (Failure& failure) {
        failure.blame(c);
        throw;
    }
}

Ctl inputAtFault(std::initializer_list<Input> inputs) {
    // Dividing by a magnitude below 1 enlarges the dividend, whatever it is.
    for (const Input& input : inputs) {
        if (input.divisor && std::fabs(input.value) < 1.0) return input.box;
    }
    const Input* largest = inputs.begin();
    for (const Input& input : inputs) {
        if (std::fabs(input.value) > std::fabs(largest->value)) largest = &input;
    }
    return largest->box;
}

}  // namespace korvel
