#include "form/Failure.h"

#include <algorithm>
#include <iterator>
#include <utility>

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

// One character of a user's text: a UTF-8 sequence, or a byte that is none.
struct Character {
    std::size_t start;
    std::size_t length;
    char32_t code;  // kNoCharacter for a byte that is no UTF-8
};
constexpr char32_t kNoCharacter = 0x110000;

// The length of the well-formed UTF-8 sequence at `at`, or 0 (overlong forms and surrogates are
// none, as the standard says).
std::size_t sequenceAt(std::string_view text, std::size_t at, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(at);
    code = lead;
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned low = 0x80;  // the range of the second byte
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high) return 0;
    code = lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0U) != 0x80U) return 0;
        code = code << 6 | (byte(at + k) & 0x3FU);
    }
    return length;
}

Character characterAt(std::string_view text, std::size_t at) {
    char32_t code = 0;
    const std::size_t length = sequenceAt(text, at, code);
    return length == 0 ? Character{at, 1, kNoCharacter} : Character{at, length, code};
}

// Characters that act instead of showing: controls, direction marks, embeddings, overrides and
// isolates, zero-width and other invisible format characters, line and paragraph separators,
// variation selectors and tags.
bool acts(char32_t c) {
    constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x0600, 0x0605},
        {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},
        {0x115F, 0x1160},   {0x180B, 0x180F},   {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x206F},
        {0x3164, 0x3164},   {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},   {0xFFF9, 0xFFFB},
        {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
        {0xE0000, 0xE0FFF}};
    return std::any_of(std::begin(kRanges), std::end(kRanges),
                       [c](const auto& range) { return c >= range.first && c <= range.second; });
}

// A character as a quote shows it: as it is, or by its code where it would act.
void appendShown(std::string_view text, const Character& c, std::string& out) {
    constexpr char kHex[] = "0123456789ABCDEF";
    if (c.code == kNoCharacter) {
        const auto byte = static_cast<unsigned char>(text[c.start]);
        out += "[0x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xFU];
        out += ']';
    } else if (acts(c.code)) {
        std::string digits;
        for (char32_t rest = c.code; rest != 0 || digits.size() < 4; rest >>= 4)
            digits.insert(0, 1, kHex[rest & 0xFU]);
        out += "[U+" + digits + "]";
    } else {
        out.append(text.substr(c.start, c.length));
    }
}

}  // namespace

Failure::Failure(FailureKind kind, std::string text, std::optional<Ctl> subject, std::optional<Ctl> quantity)
    : kind_(kind), text_(std::move(text)), subject_(subject), quantity_(quantity) {
    describe();
}

void Failure::advise(WritingHint hint, char decimalSeparator) {
    hint_ = hint;
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
            if (hint_ == WritingHint::DecimalSeparator) message_ += "; write " + decimals;
            if (hint_ == WritingHint::NoThousandsGrouping) {
                message_ += "; write it without separators between thousands, and " + decimals;
            }
            if (hint_ == WritingHint::None) message_ += '.';
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
        case FailureKind::DivisorTooSmall:
            // Not 0, so not said to be: a total of 5E-324 kbit/s has no eighth in doubles.
            if (subject_ == Ctl::txtVideoBitrate) {
                message_ = "The video and audio bitrates add up to too little to divide by, so the " + name +
                           " cannot be calculated.";
            } else {
                message_ = "The " + subjectName + " is too close to 0 to divide by, so the " + name +
                           " cannot be calculated.";
            }
            return;
        case FailureKind::Overflow:
        case FailureKind::OverflowBelowZero: {
            // A typed number beyond what can be calculated with, or a result that would not fit.
            const std::string beyond = kind_ == FailureKind::Overflow ? "too large" : "too far below zero";
            if (!text_.empty()) {
                message_ = "The " + subjectName + " " + quoted(text_) + " is " + beyond + ".";
            } else if (subject_) {
                message_ = "The " + name + " would be " + beyond + "; check the " + subjectName + ".";
            } else {
                message_ = "The " + name + " would be " + beyond + " to calculate.";
            }
            return;
        }
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
    // Walked rather than indexed: a pasted megabyte is quoted at every keystroke.
    std::size_t count = 0;
    std::size_t stopCharacter = std::string::npos;  // the character that holds the stop
    for (std::size_t at = 0; at < text.size(); ++count) {
        at += characterAt(text, at).length;
        if (stop < at && stopCharacter == std::string::npos) stopCharacter = count;
    }
    std::string out(1, '"');
    out += "\u2068";  // first strong isolate: the text takes its own direction, the sentence keeps its
    const auto piece = [&](std::size_t from, std::size_t to) {  // characters [from, to)
        std::size_t at = 0;
        for (std::size_t k = 0; k < to; ++k) {
            const Character c = characterAt(text, at);
            if (k >= from) appendShown(text, c, out);
            at += c.length;
        }
    };
    if (count <= kLongest) {
        piece(0, count);
    } else if (stopCharacter < kLongest) {
        piece(0, kLongest);
        out += "\u2026";
    } else {
        const std::size_t end = std::min(stopCharacter, count - 1) + 1;  // the end where there is no stop
        piece(0, kHead);
        out += "\u2026";
        piece(end - kTail, end);
        if (end < count) out += "\u2026";
    }
    out += "\u2069";  // pop directional isolate
    out += '"';
    return out;
}

}  // namespace korvel
