#include "form/Failure.h"

#include <algorithm>
#include <vector>

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

}  // namespace

Failure::Failure(FailureKind kind, std::string text, std::optional<Ctl> subject, std::optional<Ctl> quantity)
    : kind_(kind), text_(std::move(text)), subject_(subject), quantity_(quantity) {
    describe();
}

void Failure::advise(Advice advice, char decimalSeparator) {
    advice_ = advice;
    decimalSeparator_ = decimalSeparator;
    describe();
}

void Failure::stopsAt(std::size_t position) {
    stop_ = position;
    describe();
}

void Failure::describe() {
    const std::string name = quantityName(quantity());
    const std::string subjectName = quantityName(subject_);
    switch (kind_) {
        case FailureKind::NotANumber: {
            if (text_.empty()) {
                message_ = "The " + subjectName + " is empty; enter a number.";
                return;
            }
            message_ = "The " + subjectName + " " + quoted(text_, stop_) + " is not a number";
            const std::string decimals = std::string("decimals with \"") + decimalSeparator_ + "\".";
            if (advice_ == Advice::DecimalSeparator) message_ += "; write " + decimals;
            if (advice_ == Advice::NoThousandsGrouping) {
                message_ += "; write it without separators between thousands, and " + decimals;
            }
            if (advice_ == Advice::None) message_ += '.';
            return;
        }
        case FailureKind::DivisionByZero:
            if (subject_ == Ctl::txtVideoBitrate) {
                message_ =
                    "The video and audio bitrates add up to 0, so the " + name + " cannot be calculated.";
            } else {
                message_ = "The " + subjectName + " is 0, so the " + name + " cannot be calculated.";
            }
            return;
        case FailureKind::Overflow:
            // A typed number beyond what can be calculated with, or a result that would not fit.
            if (!text_.empty()) {
                message_ = "The " + subjectName + " " + quoted(text_) + " is too large.";
            } else if (subject_) {
                message_ = "The " + name + " would be too large; check the " + subjectName + ".";
            } else {
                message_ = "The " + name + " would be too large to calculate.";
            }
            return;
        case FailureKind::InvalidOperation:
            message_ = "The " + name + " cannot be calculated from these values.";
            return;
        case FailureKind::NoRatio:
            message_ = "No movie format is selected, so there is no ratio to divide by.";
            return;
        case FailureKind::Internal:
            message_ = "The " + name + " could not be calculated (" + text_ + ").";
            return;
    }
}

std::string quoted(std::string_view text, std::size_t stop) {
    constexpr std::size_t kLongest = 60;  // characters, not bytes
    constexpr std::size_t kHead = 30;
    constexpr std::size_t kTail = 20;
    // The byte at which each character starts (a byte that continues a UTF-8 sequence starts
    // none, unless the text starts with it), and the end.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 0 || (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) starts.push_back(i);
    }
    const std::size_t characters = starts.size();
    starts.push_back(text.size());
    const auto piece = [&](std::size_t from, std::size_t to) {  // characters [from, to)
        return text.substr(starts[from], starts[to] - starts[from]);
    };
    // Appended piece by piece: GCC 12 misreads "\"" + std::string(...) at -O3 (-Wrestrict).
    std::string out(1, '"');
    if (characters <= kLongest) {
        out.append(text);
    } else {
        // The character that holds the stop, or the end where there is none.
        const std::size_t stopCharacter =
            stop < text.size()
                ? static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), stop) -
                                           starts.begin() - 1)
                : characters;
        if (stopCharacter < kLongest) {
            out.append(piece(0, kLongest));
            out += "\u2026";
        } else {
            const std::size_t end = std::min(stopCharacter + 1, characters);
            out.append(piece(0, kHead));
            out += "\u2026";
            out.append(piece(end - kTail, end));
            if (end < characters) out += "\u2026";
        }
    }
    out += '"';
    return out;
}

}  // namespace korvel
