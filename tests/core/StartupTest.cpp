#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Startup.h"

namespace korvel {
namespace {

using enum Ctl;

std::vector<std::string> entries(const FormModel& form, Ctl list) {
    const auto e = form.Entries(list);
    return {e.begin(), e.end()};
}

TEST(FormLoad, FillsTheListsInOrderAndSelectsTheInitialEntries) {
    FormModel form;
    std::vector<std::string> clicks;
    form.on(cboHorizSize, Event::Click, [&] {
        clicks.push_back("size " + form.GetText(cboHorizSize) + ", format '" + form.GetText(cboMovieFormat) +
                         "'");
    });
    form.on(cboMovieFormat, Event::Click,
            [&] { clicks.push_back("format " + form.GetText(cboMovieFormat)); });
    form.on(cboAudioBitrate, Event::Click, [&] { clicks.push_back("audio"); });
    Form_Load(form);

    std::vector<std::string> sizes;
    for (int n = 720; n >= 16; n -= 16) sizes.push_back(std::to_string(n));
    EXPECT_EQ(entries(form, cboHorizSize), sizes);
    EXPECT_EQ(sizes.size(), 45U);
    EXPECT_EQ(entries(form, cboMovieFormat),
              (std::vector<std::string>{"DVD Fullscreen (1.5:1)", "TV (4:3)", "Cine 35mm (1.85:1)",
                                        "Cinemascope (2.35:1)"}));
    EXPECT_EQ(entries(form, cboAudioBitrate),
              (std::vector<std::string>{"256 Kbit/s", "192 Kbit/s", "160 Kbit/s", "128 Kbit/s", "112 Kbit/s",
                                        "96 Kbit/s", "64 Kbit/s", "32 Kbit/s", "16 Kbit/s"}));
    // The size is picked while the format list is still empty, then the format.
    EXPECT_EQ(clicks,
              (std::vector<std::string>{"size 720, format ''", "format DVD Fullscreen (1.5:1)", "audio"}));
    EXPECT_EQ(form.GetListIndex(cboHorizSize), 0);
    EXPECT_EQ(form.GetListIndex(cboMovieFormat), 0);
    EXPECT_EQ(form.GetListIndex(cboAudioBitrate), 3);
    EXPECT_EQ(form.GetText(cboAudioBitrate), "128 Kbit/s");
}

TEST(FormLoad, RunsAsTheLoadEventWithoutFailure) {
    FormModel form;
    int reports = 0;
    form.setReporter([&](const Failure&) { ++reports; });
    bindHandlers(form);
    EXPECT_TRUE(form.load());
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(form.GetText(txtVideoBitrate), "");
    EXPECT_EQ(form.GetText(txtVideoBitrateSceneDetect), "");
    EXPECT_EQ(form.GetText(txtFileSize), "");
    EXPECT_EQ(form.GetText(txtMovieLength), "120");
}

}  // namespace
}  // namespace korvel
