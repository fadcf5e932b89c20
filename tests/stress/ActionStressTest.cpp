// Seeded random sequences of typing, picking and pressing on the loaded program. Each action is
// checked at once against rules worked out here, not by the core: which boxes it writes and in
// which order, one report per failure naming a box the user can change, texts judged by the
// number grammar, and the scene-detect figure.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <regex>

#include "Fixture.h"

namespace korvel {
namespace {

using enum Ctl;

// clang-format off
constexpr Ctl kTargets[] = {txtVideoBitrate, txtVideoBitrate, txtMovieLength, txtFileSize, cmdCalcVideoBitrate,
                            cmdCalcFileSize, cmdCalcLength, cboAudioBitrate, cboHorizSize, cboMovieFormat};
// Typed texts are made of these: numbers of every size and sign, blanks, both separators, letters.
constexpr const char* kPieces[] = {"", " ", "\t", "-", "+", "0", "7", "16", "128", "1789569706", "e", "E308", "e-5",
                                   "E+400", "x", "1e-320", "99999999999999999999", ".", ","};
// clang-format on

bool isNumber(const std::string& text, char separator) {
    static const std::regex dot(R"([ \t]*[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
    static const std::regex comma(R"([ \t]*[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
    return std::regex_match(text, separator == ',' ? comma : dot);
}

// 1.2 times the number, nearest whole with ties to even; nothing where it is out of range.
std::optional<std::string> sceneFigure(std::string text, char separator) {
    std::replace(text.begin(), text.end(), separator, '.');
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '+'; });
    double value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{}) return std::nullopt;
    const double figure = std::nearbyint(value * 1.2);
    if (!(figure >= -2147483648.0 && figure <= 2147483647.0)) return std::nullopt;
    return std::to_string(static_cast<long>(figure));
}

// The beginnings ("name=") of the writes an action makes when it runs to its end.
std::vector<std::string> expectedWrites(Ctl c, bool picked, bool sceneRuns) {
    const Kind kind = controlSpec(c).kind;
    const Ctl result = c == cmdCalcVideoBitrate ? txtVideoBitrate
                       : c == cmdCalcFileSize   ? txtFileSize
                                                : txtMovieLength;
    std::vector<Ctl> w;
    if (c == cboHorizSize) w = {txtVertSize, txtVSizeErr};
    if (c == cboHorizSize || c == cboMovieFormat)
        w.insert(w.end(), {txtHorizCrop, txtVertCrop, txtVertOff, txtVSizeErrCrop});
    if (kind == Kind::TextBox || !picked) w = {c};
    if (kind == Kind::PushButton) w = {result};
    if ((c == txtVideoBitrate || c == cmdCalcVideoBitrate) && sceneRuns)
        w.push_back(txtVideoBitrateSceneDetect);
    if (kind == Kind::PushButton) w.push_back(txtVideoBitrateSceneDetect);
    std::vector<std::string> names;
    for (const Ctl box : w) names.push_back(std::string(controlName(box)) + "=");
    return names;
}

// The first rule that the action on c broke, if any.
std::optional<std::string> broken(Ctl c, const std::string& typed, bool picked, bool ok,
                                  const testing::LoadedForm& f, const std::vector<std::string>& before,
                                  bool changeOnSameText) {
    const FormModel& form = f.form;
    if (f.reports.size() != (ok ? 0U : 1U)) return "reported " + std::to_string(f.reports.size()) + " times";
    const bool videoChanged =
        form.GetText(txtVideoBitrate) != before[static_cast<std::size_t>(txtVideoBitrate)];
    const auto expected = expectedWrites(c, picked, changeOnSameText || videoChanged);
    if (ok ? f.writes.size() != expected.size() : f.writes.size() >= expected.size()) return "wrong writes";
    for (std::size_t w = 0; w < f.writes.size(); ++w) {
        if (!f.writes[w].starts_with(expected[w])) return "wrote " + f.writes[w] + " for " + expected[w];
    }
    for (const auto& spec : controlTable()) {
        const bool written = std::any_of(f.writes.begin(), f.writes.end(), [&](const auto& w) {
            return w.starts_with(std::string(spec.name) + "=");
        });
        if (spec.kind == Kind::TextBox && !written &&
            form.GetText(spec.id) != before[static_cast<std::size_t>(spec.id)]) {
            return std::string(spec.name) + " changed without a write";
        }
    }
    if (!ok) {
        const Failure& r = f.reports[0];
        const auto s = r.subject();
        if (c != txtVideoBitrate && controlSpec(c).kind != Kind::PushButton)
            return "an action that cannot fail failed";
        if (c == txtVideoBitrate &&
            (typed.empty() || (r.kind() == FailureKind::NotANumber) ==
                                  isNumber(typed, form.numberFormat().decimalSeparator))) {
            return std::string("misjudged the typed text: ") + r.what();
        }
        if (s != txtVideoBitrate && s != txtFileSize && s != txtMovieLength)
            return std::string("blames ") + r.what();
    }
    if (ok && !f.writes.empty() && f.writes.back().starts_with("txtVideoBitrateSceneDetect=") &&
        !form.GetText(txtVideoBitrate).empty()) {
        const auto figure = sceneFigure(form.GetText(txtVideoBitrate), form.numberFormat().decimalSeparator);
        if (figure && *figure != form.GetText(txtVideoBitrateSceneDetect))
            return "scene detect is not 1.2 times it";
    }
    return std::nullopt;
}

class ActionStress : public ::testing::TestWithParam<int> {};

TEST_P(ActionStress, EveryActionKeepsTheFormConsistent) {
    for (std::uint64_t seed = GetParam(); seed < 120; seed += 2) {
        testing::LoadedForm f(NumberFormat{seed % 4 < 2 ? '.' : ','});
        const bool changeOnSameText = seed % 3 != 0;
        f.form.setChangeOnSameText(changeOnSameText);
        std::mt19937_64 random(seed);
        std::string trail;
        for (int i = 0; i < 150; ++i) {
            const Ctl c = kTargets[random() % std::size(kTargets)];
            std::string text;
            for (auto n = random() % 5; n > 0; --n) text += kPieces[random() % std::size(kPieces)];
            const auto entries =
                f.form.Entries(c == cboHorizSize || c == cboMovieFormat ? c : cboAudioBitrate);
            const auto position = static_cast<std::int16_t>(random() % entries.size());
            std::vector<std::string> before;
            for (const auto& spec : controlTable())
                before.push_back(spec.kind == Kind::TextBox ? f.text(spec.id) : "");
            f.writes.clear();
            f.reports.clear();
            const Kind kind = controlSpec(c).kind;
            const bool picked = kind == Kind::DropDownList && (c != cboAudioBitrate || random() % 4);
            if (picked) text = entries[position];
            const bool ok = kind == Kind::PushButton ? f.form.pressButton(c)
                            : kind == Kind::TextBox  ? f.form.editText(c, text)
                            : picked                 ? f.form.pickEntry(c, position)
                                                     : f.form.typeListText(c, text);
            trail += "\n  " + std::string(controlName(c)) + " \"" + text + "\"";
            const auto rule =
                broken(c, text, picked || kind != Kind::DropDownList, ok, f, before, changeOnSameText);
            ASSERT_FALSE(rule) << "seed " << seed << ": " << *rule << " after" << trail;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, ActionStress, ::testing::Range(0, 2));

}  // namespace
}  // namespace korvel
