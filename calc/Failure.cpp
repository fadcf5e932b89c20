#include "calc/Failure.h"

#include <cmath>

namespace korvel {
namespace {

std::string quantityName(std::optional<Ctl> c) {
    switch (c.value_or(Ctl::frmKorvel)) {
        case Ctl::txtMovieLength:
            return "movie length";
        case Ctl::txtFileSize:
            return "file size";
        case Ctl::txtVideoBitrate:
            return "video bitrate";
        case Ctl::txtVideoBitrateSceneDetect:
            return "scene-detect bitrate";
        case Ctl::cboHorizSize:
            return "horizontal size";
        case Ctl::txtVertSize:
            return "vertical size";
        case Ctl::txtVertCrop:
            return "crop height";
        case Ctl::txtVertOff:
            return "vertical offset";
        default:
            return "result";
    }
}

std::string describe(FailureKind kind, const std::string& text, std::optional<Ctl> subject,
                     std::optional<Ctl> quantity, char separator) {
    const std::string name = quantityName(quantity);
    const std::string subjectName = quantityName(subject);
    switch (kind) {
        case FailureKind::NotANumber:
            if (text.empty()) return "The " + subjectName + " is empty; enter a number.";
            if (separator == 0) return "The " + subjectName + " " + quoted(text) + " is not a number.";
            return "The " + subjectName + " " + quoted(text) + " is not a number; write decimals with \"" +
                   separator + "\".";
        case FailureKind::DivisionByZero:
            if (subject == Ctl::txtVideoBitrate) {
                return "The video and audio bitrates add up to 0, so the " + name + " cannot be calculated.";
            }
            return "The " + subjectName + " is 0, so the " + name + " cannot be calculated.";
        case FailureKind::Overflow:
            if (subject && subject != quantity) {
                return "The " + name + " would be too large; check the " + subjectName + ".";
            }
            return "The " + name + " would be too large to calculate.";
        case FailureKind::InvalidOperation:
            return "The " + name + " cannot be calculated from these values.";
        case FailureKind::NoRatio:
            return "No movie format is selected, so there is no ratio to divide by.";
        case FailureKind::Internal:
            return "The " + name + " could not be calculated (" + text + ").";
    }
    return "The " + name + " could not be calculated.";
}

}  // namespace

Failure::Failure(FailureKind kind, std::string text, std::optional<Ctl> subject, std::optional<Ctl> quantity)
    : kind_(kind), text_(std::move(text)), subject_(subject), quantity_(quantity) {
    message_ = describe(kind_, text_, subject_, this->quantity(), separator_);
}

void Failure::blame(Ctl c, std::string_view text, std::optional<Ctl> quantity) {
    if (subject_) return;
    subject_ = c;
    if (text_.empty()) text_ = text;
    if (!quantity_) quantity_ = quantity;
    message_ = describe(kind_, text_, subject_, this->quantity(), separator_);
}

void Failure::hintSeparator(char separator) {
    separator_ = separator;
    message_ = describe(kind_, text_, subject_, this->quantity(), separator_);
}

std::string quoted(std::string_view text) {
    constexpr std::size_t kLongest = 60;  // characters, not bytes
    std::size_t characters = 0;
    std::size_t end = 0;
    for (; end < text.size(); ++end) {
        // A byte that continues a UTF-8 sequence starts no character.
        if ((static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) continue;
        if (characters == kLongest) break;
        ++characters;
    }
    // Appended piece by piece: GCC 12 misreads "\"" + std::string(...) at -O3 (-Wrestrict).
    std::string out(1, '"');
    out.append(text.substr(0, end));
    if (end < text.size()) out += "\u2026";
    out += '"';
    return out;
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
