#include "calc/Failure.h"

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
                     std::optional<Ctl> quantity) {
    const std::string name = quantityName(quantity);
    const std::string subjectName = quantityName(subject);
    switch (kind) {
        case FailureKind::NotANumber:
            if (text.empty()) return "The " + subjectName + " is empty; enter a number.";
            return "The " + subjectName + " \"" + text + "\" is not a number.";
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
    message_ = describe(kind_, text_, subject_, this->quantity());
}

void Failure::blame(Ctl c, std::string_view text, std::optional<Ctl> quantity) {
    if (subject_) return;
    subject_ = c;
    if (text_.empty()) text_ = text;
    if (!quantity_) quantity_ = quantity;
    message_ = describe(kind_, text_, subject_, this->quantity());
}

}  // namespace korvel
