#include "tests/stress/Actions.h"

#include <array>
#include <regex>

namespace korvel::stress {
namespace {

using enum Ctl;

std::string escaped(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const std::regex& numberGrammar(char separator) {
    // Blanks, optional sign, digits with at most one separator (at least one digit),
    // optional exponent, blanks.
    static const std::regex dot(R"(^[ \t]*[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*$)");
    static const std::regex comma(R"(^[ \t]*[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?[ \t]*$)");
    return separator == ',' ? comma : dot;
}

constexpr std::array<Ctl, 3> kEditable{txtVideoBitrate, txtMovieLength, txtFileSize};
constexpr std::array<Ctl, 3> kButtons{cmdCalcVideoBitrate, cmdCalcFileSize, cmdCalcLength};
constexpr std::array<Ctl, 3> kLists{cboHorizSize, cboMovieFormat, cboAudioBitrate};
// Boxes and controls the user cannot type into: each such action must be refused.
constexpr std::array<Ctl, 4> kNotEditable{txtVertSize, txtVideoBitrateSceneDetect, txtVertOff, Label4};

}  // namespace

Shape shapeOf(std::string_view text, NumberFormat format) {
    if (text.empty()) return Shape::Empty;
    // The grammar is written for '.' and ','; any other separator is judged by the dot rule.
    const std::string subject(text);
    return std::regex_match(subject, numberGrammar(format.decimalSeparator)) ? Shape::Number
                                                                             : Shape::Malformed;
}

std::string Action::describe() const {
    const std::string name(controlName(control));
    switch (kind) {
        case Kind::Pick:
            return "pickEntry(" + name + ", " + NumberToText(std::int32_t{position}) + ")";
        case Kind::Edit:
            return "editText(" + name + ", " + escaped(text) + ")";
        case Kind::TypeList:
            return "typeListText(" + name + ", " + escaped(text) + ")";
        case Kind::Press:
            return "pressButton(" + name + ")";
    }
    return "?";
}

std::string ActionSource::digits(std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += static_cast<char>('0' + below(10));
    return out;
}

std::string ActionSource::blanks() {
    static constexpr std::array<std::string_view, 4> kBlanks{" ", "  ", "\t", " \t"};
    return std::string(kBlanks[below(kBlanks.size())]);
}

std::string ActionSource::numberText() {
    const char sep = format_.decimalSeparator;
    std::string out;
    if (chance(10)) out += blanks();
    if (chance(30)) out += chance(70) ? "-" : "+";
    switch (below(7)) {
        case 0:
            out += digits(1 + below(4));
            break;  // everyday sizes
        case 1:
            out += digits(1 + below(3)) + sep + digits(below(3));
            break;
        case 2:
            out += std::string(1, sep) + digits(1 + below(4));
            break;  // ".5"
        case 3:
            out += digits(1 + below(10));
            break;  // around the 32-bit limits
        case 4:
            out += digits(100 + below(300));
            break;  // hundreds of digits
        case 5:
            out += "0" + std::string(1, sep) + std::string(below(400), '0') + digits(1 + below(3));
            break;
        default:
            out += digits(1 + below(3));
            break;
    }
    if (chance(15)) {
        out += chance(50) ? 'E' : 'e';
        if (chance(60)) out += chance(50) ? "-" : "+";
        static constexpr std::array<std::string_view, 8> kExponents{"0",  "1",   "5",   "15",
                                                                    "20", "308", "309", "400"};
        out += kExponents[below(kExponents.size())];
    }
    if (chance(10)) out += blanks();
    return out;
}

std::string ActionSource::malformedText() {
    const char sep = format_.decimalSeparator;
    const char other = sep == '.' ? ',' : '.';
    switch (below(10)) {
        case 0:
            return blanks();
        case 1:
            return chance(50) ? "-" : "+";
        case 2:
            return std::string(1, chance(50) ? sep : other);
        case 3:
            return digits(1 + below(3)) + other + digits(1 + below(3));  // the other separator
        case 4:
            return digits(1) + '.' + digits(3) + ',' + digits(1);  // both separators
        case 5:
            return digits(1 + below(3)) + sep + digits(1) + sep + digits(1);
        case 6: {
            static constexpr std::array<std::string_view, 10> kWords{"abc", "x",   "inf", "nan", "0x10",
                                                                     "1e",  "1e+", "--5", "5-",  "1 2"};
            return std::string(kWords[below(kWords.size())]);
        }
        case 7:
            return digits(1 + below(3)) + static_cast<char>('a' + below(26));
        case 8:
            return "-" + blanks();
        default:
            return std::string(1, sep) + "E5";
    }
}

std::string ActionSource::text() {
    switch (below(10)) {
        case 0:
            return {};
        case 1:
        case 2:
            return malformedText();
        case 3: {
            static constexpr std::array<std::string_view, 12> kEdges{
                "0",           "-0",          "1789569706",
                "1789569707",  "-1789569707", "2147483647",
                "-2147483648", "1E+308",      "1.79769313486232E+308",
                "1E-320",      "4.5",         "-128"};
            return std::string(kEdges[below(kEdges.size())]);
        }
        default:
            return numberText();
    }
}

Action ActionSource::next(const FormModel& form) {
    using K = Action::Kind;
    Action action;
    if (typed_ < typing_.size()) {
        // One keystroke more of the text being typed.
        action.kind = K::Edit;
        action.control = typingBox_;
        action.text = typing_.substr(0, ++typed_);
        return action;
    }
    const auto roll = below(100);
    if (roll < 8) {
        // Start typing a text key by key: every prefix becomes one action.
        typingBox_ = kEditable[below(kEditable.size())];
        typing_ = text();
        // Long texts arrive whole, as a paste would bring them.
        typed_ = typing_.size() > 12 ? typing_.size() - 1 : 0;
        if (typing_.empty()) typing_ = "8";
        action.kind = K::Edit;
        action.control = typingBox_;
        action.text = typing_.substr(0, ++typed_);
    } else if (roll < 35) {
        action.kind = K::Pick;
        action.control = kLists[below(kLists.size())];
        const auto count = static_cast<std::int16_t>(form.Entries(action.control).size());
        // Now and then a position with no entry, which must be refused.
        action.position = chance(3) ? static_cast<std::int16_t>(chance(50) ? -1 : count)
                                    : static_cast<std::int16_t>(below(static_cast<std::uint64_t>(count)));
    } else if (roll < 70) {
        action.kind = K::Edit;
        action.control =
            chance(3) ? kNotEditable[below(kNotEditable.size())] : kEditable[below(kEditable.size())];
        action.text = text();
    } else if (roll < 75) {
        action.kind = K::TypeList;
        // An entry's exact text now and then, so typing can select it.
        const auto entries = form.Entries(cboAudioBitrate);
        action.control = chance(5) ? cboHorizSize : cboAudioBitrate;
        action.text = chance(30) && !entries.empty() ? entries[below(entries.size())] : text();
    } else {
        action.kind = K::Press;
        action.control = chance(3) ? Label4 : kButtons[below(kButtons.size())];
    }
    return action;
}

}  // namespace korvel::stress
