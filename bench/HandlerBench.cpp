// The core's handlers as the user sets them off, on the loaded model without a view.

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string_view>

#include "calc/Startup.h"

namespace korvel {
namespace {

using enum Ctl;

struct Loaded {
    FormModel form;
    Loaded() {
        bindHandlers(form, {});
        form.load();
    }
};

void Form_Load_FreshModel(benchmark::State& state) {
    while (state.KeepRunning()) {
        state.PauseTiming();
        auto form = std::make_unique<FormModel>();
        bindHandlers(*form, {});
        state.ResumeTiming();
        benchmark::DoNotOptimize(form->load());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(Form_Load_FreshModel);

// Each pick changes the size, so the resize and the crop run in full every time.
void PickHorizontalSize(benchmark::State& state) {
    Loaded p;
    p.form.pickEntry(cboMovieFormat, 3);
    std::int16_t position = 5;
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(p.form.pickEntry(cboHorizSize, position));
        position = position == 5 ? 18 : 5;
    }
}
BENCHMARK(PickHorizontalSize);

void Press(benchmark::State& state, Ctl button) {
    Loaded p;
    p.form.editText(txtFileSize, "700");
    p.form.editText(txtVideoBitrate, "668");
    while (state.KeepRunning()) benchmark::DoNotOptimize(p.form.pressButton(button));
}
BENCHMARK_CAPTURE(Press, cmdCalcVideoBitrate, cmdCalcVideoBitrate);
BENCHMARK_CAPTURE(Press, cmdCalcFileSize, cmdCalcFileSize);
BENCHMARK_CAPTURE(Press, cmdCalcLength, cmdCalcLength);

// Typing and deleting keys: every keystroke changes the text and refreshes scene detect.
void KeystrokeVideoBitrate(benchmark::State& state) {
    Loaded p;
    constexpr std::array<std::string_view, 4> kTexts{"8", "80", "800", "80"};
    std::size_t i = 0;
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(p.form.editText(txtVideoBitrate, kTexts[i]));
        i = (i + 1) % kTexts.size();
    }
}
BENCHMARK(KeystrokeVideoBitrate);

}  // namespace
}  // namespace korvel

BENCHMARK_MAIN();
