// Long random sequences of user actions on the loaded program, each action checked at once
// against what must hold after it. A broken sequence is printed as the calls that repeat it.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Startup.h"
#include "tests/stress/Actions.h"

namespace korvel::stress {
namespace {

using enum Ctl;
using K = Action::Kind;

constexpr int kShards = 4;  // one CTest test each, so they run side by side
constexpr int kSequencesPerShard = 130;
constexpr int kActionsPerSequence = 200;  // 4 x 130 x 200 = 104,000 actions

struct Written {
    Ctl control;
    Write what;
    friend bool operator==(const Written&, const Written&) = default;
};

Written text(Ctl c) { return {c, Write::Text}; }

std::string describe(const std::vector<Written>& writes) {
    std::string out = "[";
    for (const auto& w : writes) {
        if (out.size() > 1) out += ", ";
        out += controlName(w.control);
        if (w.what == Write::ListIndex) out += "(index)";
    }
    return out + "]";
}

std::optional<std::int64_t> wholeNumber(std::string_view s) {
    std::int64_t value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    if (r.ec != std::errc{} || r.ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

// The scene-detect figure of a video bitrate text: 1.2 times it, nearest whole number with
// ties to even, or nothing when it leaves the 32-bit range or is not a number.
std::optional<std::string> sceneDetectFigure(const std::string& videoBitrate, NumberFormat format) {
    if (videoBitrate.empty()) return std::string();
    double value = 0;
    try {
        value = TextToNumber(videoBitrate, format);
    } catch (const Failure&) {
        return std::nullopt;
    }
    const double product = value * 1.2;
    const double nearest = std::nearbyint(product);  // the default mode rounds ties to even
    if (!(nearest >= -2147483648.0 && nearest <= 2147483647.0)) return std::nullopt;
    char buffer[16];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(nearest));
    return std::string(buffer, r.ptr);
}

bool readsText(Ctl c) {
    return controlSpec(c).kind == Kind::TextBox || controlSpec(c).kind == Kind::DropDownList;
}

struct Snapshot {
    std::array<std::string, kControlCount> texts;
    std::array<std::int16_t, kControlCount> positions{};

    explicit Snapshot(const FormModel& form) {
        for (const auto& c : controlTable()) {
            if (readsText(c.id)) texts[static_cast<std::size_t>(c.id)] = form.GetText(c.id);
            if (c.kind == Kind::DropDownList)
                positions[static_cast<std::size_t>(c.id)] = form.GetListIndex(c.id);
        }
    }
    const std::string& operator[](Ctl c) const { return texts[static_cast<std::size_t>(c)]; }
    std::int16_t position(Ctl c) const { return positions[static_cast<std::size_t>(c)]; }
};

// The program after start-up, with every write and report of the current action recorded.
struct Program {
    FormModel form;
    bool changeOnSameText;
    std::vector<Written> writes;
    std::vector<Failure> reports;

    Program(NumberFormat format, bool changeOnSame) : form(format), changeOnSameText(changeOnSame) {
        bindHandlers(form);
        form.setChangeOnSameText(changeOnSame);
        form.setReporter([this](const Failure& f) { reports.push_back(f); });
        form.setObserver([this](Ctl c, Write w) { writes.push_back({c, w}); });
    }
};

bool refused(const Action& a, const FormModel& form) {
    const ControlSpec& s = controlSpec(a.control);
    switch (a.kind) {
        case K::Pick:
            return s.kind != Kind::DropDownList || a.position < 0 ||
                   static_cast<std::size_t>(a.position) >= form.Entries(a.control).size();
        case K::Edit:
            return s.kind != Kind::TextBox || s.readOnly;
        case K::TypeList:
            return s.kind != Kind::DropDownList || s.style != ListStyle::FreeText;
        case K::Press:
            return s.kind != Kind::PushButton;
    }
    return true;
}

// Every write the action makes when it runs to its end, in order. A failing action makes a
// proper beginning of it.
std::vector<Written> expectedWrites(const Action& a, const Snapshot& before, const Program& p) {
    const std::vector<Written> crop{text(txtHorizCrop), text(txtVertCrop), text(txtVertOff),
                                    text(txtVSizeErrCrop)};
    // The change handler of the video bitrate runs on a write that changes the text, and on
    // every write when the model raises the change for an unchanged text too.
    const bool videoChangeRuns =
        p.changeOnSameText || p.form.GetText(txtVideoBitrate) != before[txtVideoBitrate];
    std::vector<Written> w;
    switch (a.kind) {
        case K::Pick:
            w.push_back({a.control, Write::ListIndex});
            if (a.control == cboHorizSize) w.insert(w.end(), {text(txtVertSize), text(txtVSizeErr)});
            if (a.control != cboAudioBitrate) w.insert(w.end(), crop.begin(), crop.end());
            break;
        case K::Edit:
            w.push_back(text(a.control));
            if (a.control == txtVideoBitrate && videoChangeRuns)
                w.push_back(text(txtVideoBitrateSceneDetect));
            break;
        case K::TypeList:
            w.push_back(text(a.control));
            break;
        case K::Press:
            if (a.control == cmdCalcVideoBitrate) {
                w.push_back(text(txtVideoBitrate));
                if (videoChangeRuns) w.push_back(text(txtVideoBitrateSceneDetect));
            } else {
                w.push_back(text(a.control == cmdCalcFileSize ? txtFileSize : txtMovieLength));
            }
            w.push_back(text(txtVideoBitrateSceneDetect));
            break;
    }
    return w;
}

// Checks one action; returns what went wrong, nothing when all holds.
std::vector<std::string> check(const Action& a, bool ok, const Snapshot& before, const Program& p) {
    std::vector<std::string> problems;
    auto problem = [&](std::string s) { problems.push_back(std::move(s)); };
    const FormModel& form = p.form;
    const NumberFormat format = form.numberFormat();
    const Snapshot after(form);

    if (refused(a, form)) {
        if (ok || !p.writes.empty() || !p.reports.empty()) {
            problem("an action the form cannot take was not refused quietly");
        }
        return problems;
    }

    // Reported exactly once when it fails, never when it succeeds.
    if (ok && !p.reports.empty()) problem("a successful action was reported as a failure");
    if (!ok && p.reports.size() != 1) {
        problem("a failing action was reported " + NumberToText(static_cast<std::int32_t>(p.reports.size())) +
                " times");
    }
    const Failure* failure = p.reports.empty() ? nullptr : &p.reports.front();
    if (failure && failure->kind() == FailureKind::Internal)
        problem(std::string("internal failure: ") + failure->what());

    // The written boxes and their order.
    const auto expected = expectedWrites(a, before, p);
    if (ok && p.writes != expected) {
        problem("wrote " + describe(p.writes) + ", expected " + describe(expected));
    }
    if (!ok && (p.writes.size() >= expected.size() ||
                !std::equal(p.writes.begin(), p.writes.end(), expected.begin()))) {
        problem("a failing action wrote " + describe(p.writes) + ", not a proper beginning of " +
                describe(expected));
    }
    // What was not written keeps its text and selection.
    for (const auto& c : controlTable()) {
        if (!readsText(c.id)) continue;
        const bool written = std::any_of(p.writes.begin(), p.writes.end(),
                                         [&](const Written& w) { return w.control == c.id; });
        if (!written && (after[c.id] != before[c.id] || after.position(c.id) != before.position(c.id))) {
            problem(std::string(c.name) + " changed without a write");
        }
    }

    // Which actions may fail, and how.
    const Shape shape = a.kind == K::Edit || a.kind == K::TypeList ? shapeOf(a.text, format) : Shape::Empty;
    const bool videoChangeRan =
        std::find(p.writes.begin(), p.writes.end(), text(txtVideoBitrateSceneDetect)) != p.writes.end() ||
        (a.kind == K::Edit && a.control == txtVideoBitrate && !ok);
    if (a.kind == K::Edit && a.control == txtVideoBitrate && videoChangeRan) {
        if (shape == Shape::Empty && !ok) problem("emptying the video bitrate failed");
        if (shape == Shape::Malformed &&
            (ok || !failure || failure->kind() != FailureKind::NotANumber || failure->text() != a.text ||
             failure->subject() != txtVideoBitrate)) {
            problem(
                "a video bitrate that is not a number was not reported as such, naming the box and its text");
        }
        if (shape == Shape::Number && failure && failure->kind() != FailureKind::Overflow) {
            problem(std::string("a number typed as video bitrate failed other than by overflow: ") +
                    failure->what());
        }
    } else if (a.kind != K::Press && !ok) {
        problem("this action cannot fail, but did");
    }
    if (ok && a.kind == K::TypeList) {
        const auto entries = form.Entries(a.control);
        const auto match = std::find(entries.begin(), entries.end(), a.text);
        const auto position = match == entries.end() ? -1 : static_cast<int>(match - entries.begin());
        if (form.GetText(a.control) != a.text || form.GetListIndex(a.control) != position) {
            problem("the typed list text or its selection is wrong");
        }
    }
    if (!ok && a.kind == K::Press && failure) {
        const auto subject = failure->subject();
        if (subject != txtVideoBitrate && subject != txtFileSize && subject != txtMovieLength) {
            problem(std::string("a calculator's failure names no box the user can change: ") +
                    failure->what());
        }
    }
    if (ok && a.kind == K::Press) {
        const Ctl result = expected.front().control;
        const auto value = wholeNumber(form.GetText(result));
        if (!value || *value < -2147483648LL || *value > 2147483647LL)
            problem("the result is not a 32-bit whole number");
    }

    // The scene-detect figure follows the video bitrate text.
    if (ok && !p.writes.empty() && p.writes.back() == text(txtVideoBitrateSceneDetect)) {
        const auto figure = sceneDetectFigure(form.GetText(txtVideoBitrate), format);
        if (!figure || *figure != form.GetText(txtVideoBitrateSceneDetect)) {
            problem("scene detect shows \"" + form.GetText(txtVideoBitrateSceneDetect) +
                    "\" for the video bitrate \"" + form.GetText(txtVideoBitrate) + "\"");
        }
    }

    // The geometry boxes agree with each other and with the picked size.
    const auto verticalSize = wholeNumber(form.GetText(txtVertSize));
    const auto cropHeight = wholeNumber(form.GetText(txtVertCrop));
    if (!verticalSize || *verticalSize % 16 != 0) problem("the vertical size is not a multiple of 16");
    if (!cropHeight || *cropHeight % 16 != 0) problem("the crop height is not a multiple of 16");
    if (form.GetText(txtHorizCrop) != form.GetText(cboHorizSize))
        problem("the crop width is not the picked size");
    if (verticalSize && cropHeight &&
        form.GetText(txtVertOff) !=
            NumberToText(static_cast<double>(*verticalSize - *cropHeight) / 2, format)) {
        problem("the vertical offset does not centre the crop in the frame");
    }
    return problems;
}

struct Sequence {
    std::uint64_t seed;
    NumberFormat format;
    bool changeOnSameText;
};

Sequence sequenceOf(std::uint64_t seed) {
    return {seed, NumberFormat{seed % 2 == 0 ? '.' : ','}, seed % 3 != 0};
}

// Runs one sequence; on the first broken invariant, returns the calls that repeat it.
std::optional<std::string> run(const Sequence& s, int actions, long& performed) {
    Program p(s.format, s.changeOnSameText);
    ActionSource source(s.seed, s.format);
    std::vector<std::string> calls;
    calls.push_back(std::string("FormModel form(NumberFormat{'") + s.format.decimalSeparator +
                    "'}); bindHandlers(form); " + "form.setChangeOnSameText(" +
                    (s.changeOnSameText ? "true" : "false") + "); form.load();");
    if (!p.form.load() || !p.reports.empty()) return calls.front() + "\n  start-up failed";
    for (int i = 0; i < actions; ++i) {
        const Action action = source.next(p.form);
        calls.push_back(action.describe());
        const Snapshot before(p.form);
        p.writes.clear();
        p.reports.clear();
        bool ok = false;
        switch (action.kind) {
            case K::Pick:
                ok = p.form.pickEntry(action.control, action.position);
                break;
            case K::Edit:
                ok = p.form.editText(action.control, action.text);
                break;
            case K::TypeList:
                ok = p.form.typeListText(action.control, action.text);
                break;
            case K::Press:
                ok = p.form.pressButton(action.control);
                break;
        }
        ++performed;
        const auto problems = check(action, ok, before, p);
        if (!problems.empty()) {
            std::string out;
            for (const auto& c : calls) out += "  " + c + "\n";
            out += "broke after the last call, which " + std::string(ok ? "succeeded" : "failed") + ":\n";
            for (const auto& problem : problems) out += "  - " + problem + "\n";
            if (!p.reports.empty()) out += "  reported: " + std::string(p.reports.front().what()) + "\n";
            return out;
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> seedFromEnvironment() {
    const char* value = std::getenv("KORVEL_STRESS_SEED");
    if (!value) return std::nullopt;
    std::uint64_t seed = 0;
    const std::string_view s(value);
    if (std::from_chars(s.data(), s.data() + s.size(), seed).ec != std::errc{}) return std::nullopt;
    return seed;
}

class ActionStress : public ::testing::TestWithParam<int> {};

TEST_P(ActionStress, EveryActionKeepsTheFormConsistent) {
    const int shard = GetParam();
    std::vector<std::uint64_t> seeds;
    if (const auto only = seedFromEnvironment()) {
        if (static_cast<int>(*only % kShards) != shard)
            GTEST_SKIP() << "KORVEL_STRESS_SEED is another shard's";
        seeds.push_back(*only);
    } else {
        for (int i = 0; i < kSequencesPerShard; ++i)
            seeds.push_back(static_cast<std::uint64_t>(shard + kShards * i));
    }
    long performed = 0;
    for (const auto seed : seeds) {
        if (const auto broken = run(sequenceOf(seed), kActionsPerSequence, performed)) {
            FAIL() << "seed " << seed << " (repeat it alone with KORVEL_STRESS_SEED=" << seed << "):\n"
                   << *broken;
        }
    }
    EXPECT_EQ(performed, static_cast<long>(seeds.size()) * kActionsPerSequence);
}

INSTANTIATE_TEST_SUITE_P(Shards, ActionStress, ::testing::Range(0, kShards));

// The judge of typed texts must itself tell numbers from the rest, or the checks above
// would pass vacuously.
TEST(ShapeOf, TellsNumbersFromOtherTexts) {
    const struct {
        const char* text;
        char separator;
        Shape shape;
    } rows[] = {
        {"", '.', Shape::Empty},        {" 720 ", '.', Shape::Number},     {"-0", '.', Shape::Number},
        {"1.", '.', Shape::Number},     {".5", '.', Shape::Number},        {"1E+308", '.', Shape::Number},
        {"90,5", ',', Shape::Number},   {"\t+3e-4\t", '.', Shape::Number}, {" ", '.', Shape::Malformed},
        {"-", '.', Shape::Malformed},   {".", '.', Shape::Malformed},      {",", ',', Shape::Malformed},
        {"1,5", '.', Shape::Malformed}, {"1.5", ',', Shape::Malformed},    {"1.234,5", ',', Shape::Malformed},
        {"1e", '.', Shape::Malformed},  {"12a", '.', Shape::Malformed},    {"1 2", '.', Shape::Malformed},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(shapeOf(row.text, NumberFormat{row.separator}), row.shape) << '"' << row.text << '"';
    }
}

TEST(ActionSource, TheSameSeedGivesTheSameActions) {
    Program one({}, true);
    Program two({}, true);
    ASSERT_TRUE(one.form.load());
    ASSERT_TRUE(two.form.load());
    ActionSource a(42, {});
    ActionSource b(42, {});
    ActionSource c(43, {});
    std::string fromA, fromB, fromC;
    for (int i = 0; i < 200; ++i) {
        fromA += a.next(one.form).describe();
        fromB += b.next(two.form).describe();
        fromC += c.next(two.form).describe();
    }
    EXPECT_EQ(fromA, fromB);
    EXPECT_NE(fromA, fromC);
}

}  // namespace
}  // namespace korvel::stress
