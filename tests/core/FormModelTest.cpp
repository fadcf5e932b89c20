#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/model/FormModel.h"

namespace korvel {
namespace {

using enum Ctl;

// A model whose reporter and observer write into lists the test can read.
struct Recorded {
    FormModel form;
    std::vector<std::string> log;
    std::vector<Failure> reports;

    Recorded() {
        form.setReporter([this](const Failure& f) { reports.push_back(f); });
        form.setObserver([this](Ctl c, Write w) {
            if (w == Write::Text) log.push_back(std::string(controlName(c)) + "=" + form.GetText(c));
        });
    }
};

TEST(FormModel, StartsWithTheInitialTexts) {
    const FormModel form;
    for (const auto& c : controlTable()) {
        if (c.kind == Kind::TextBox) {
            EXPECT_EQ(form.GetText(c.id), c.id == txtMovieLength ? "120" : "") << c.name;
        }
        if (c.kind == Kind::DropDownList) {
            EXPECT_EQ(form.GetListIndex(c.id), -1) << c.name;
            EXPECT_TRUE(form.Entries(c.id).empty()) << c.name;
        }
    }
    EXPECT_EQ(form.GetText(cboAudioBitrate), "Combo1");
    EXPECT_EQ(form.GetText(cboHorizSize), "");
}

TEST(FormModel, NestedEventsRunToTheirEndBeforeTheOperationReturns) {
    Recorded r;
    r.form.AddEntry(cboHorizSize, "720");
    r.form.on(txtVideoBitrate, Event::Change, [&] {
        r.log.push_back("change begins");
        r.form.SetText(txtVideoBitrateSceneDetect, "nested");
        r.log.push_back("change ends");
    });
    r.form.on(cboHorizSize, Event::Click, [&] {
        r.log.push_back("click sees " + r.form.GetText(cboHorizSize));
        r.form.SetText(txtVideoBitrate, "8");
        r.log.push_back("after SetText sees " + r.form.GetText(txtVideoBitrateSceneDetect));
    });
    r.form.SetListIndex(cboHorizSize, 0);
    r.log.push_back("SetListIndex returned");
    EXPECT_EQ(r.log, (std::vector<std::string>{"click sees 720", "txtVideoBitrate=8", "change begins",
                                               "txtVideoBitrateSceneDetect=nested", "change ends",
                                               "after SetText sees nested", "SetListIndex returned"}));
}

TEST(FormModel, AddEntryChangesNoSelectionAndRaisesNothing) {
    FormModel form;
    int clicks = 0;
    form.on(cboMovieFormat, Event::Click, [&] { ++clicks; });
    form.AddEntry(cboMovieFormat, "a");
    form.AddEntry(cboMovieFormat, "b");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.GetListIndex(cboMovieFormat), -1);
    EXPECT_EQ(form.GetText(cboMovieFormat), "");
    ASSERT_EQ(form.Entries(cboMovieFormat).size(), 2U);
    EXPECT_EQ(form.Entries(cboMovieFormat)[1], "b");

    form.SetListIndex(cboMovieFormat, 1);  // from code, like the user's pick
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.GetText(cboMovieFormat), "b");
}

TEST(FormModel, TypingIntoTheFreeTextListSetsTextAndIndexWithoutClick) {
    FormModel form;
    int clicks = 0;
    form.on(cboAudioBitrate, Event::Click, [&] { ++clicks; });
    form.AddEntry(cboAudioBitrate, "256 Kbit/s");
    form.AddEntry(cboAudioBitrate, "128 Kbit/s");
    ASSERT_TRUE(form.pickEntry(cboAudioBitrate, 0));
    EXPECT_EQ(clicks, 1);

    EXPECT_TRUE(form.typeListText(cboAudioBitrate, "128"));
    EXPECT_EQ(form.GetText(cboAudioBitrate), "128");
    EXPECT_EQ(form.GetListIndex(cboAudioBitrate), -1);

    // An entry's exact text selects that entry, so what is shown is what counts.
    EXPECT_TRUE(form.typeListText(cboAudioBitrate, "128 Kbit/s"));
    EXPECT_EQ(form.GetListIndex(cboAudioBitrate), 1);
    EXPECT_EQ(clicks, 1);

    EXPECT_FALSE(form.typeListText(cboHorizSize, "5"));  // a fixed list takes no typing
    EXPECT_EQ(form.GetText(cboHorizSize), "");
}

TEST(FormModel, UserActionsRespectControlKindsAndFlags) {
    FormModel form;
    EXPECT_FALSE(form.editText(txtVertSize, "1"));  // read-only
    EXPECT_EQ(form.GetText(txtVertSize), "");
    EXPECT_TRUE(form.editText(txtFileSize, "700"));
    EXPECT_EQ(form.GetText(txtFileSize), "700");
    EXPECT_FALSE(form.pickEntry(cboHorizSize, 0));  // no such entry
    EXPECT_FALSE(form.pressButton(txtFileSize));
}

TEST(FormModel, ChangeOnSameTextIsAPolicy) {
    FormModel form;
    int changes = 0;
    form.on(txtFileSize, Event::Change, [&] { ++changes; });
    form.SetText(txtFileSize, "1");
    form.SetText(txtFileSize, "1");
    EXPECT_EQ(changes, 2);
    form.setChangeOnSameText(false);
    form.SetText(txtFileSize, "1");
    EXPECT_EQ(changes, 2);
    form.SetText(txtFileSize, "2");
    EXPECT_EQ(changes, 3);
}

// A failure deep in nested handlers stops all of them; what was written stays, and the
// user action that started them reports it exactly once.
TEST(FormModel, FailureKeepsEarlierWritesAndIsReportedOnce) {
    Recorded r;
    r.form.on(txtVideoBitrate, Event::Change, [&] {
        r.form.SetText(txtVertOff, "inner");
        throw Failure(FailureKind::Overflow, {}, txtVideoBitrate);
    });
    r.form.on(cmdCalcLength, Event::Click, [&] {
        r.form.SetText(txtHorizCrop, "first");
        r.form.SetText(txtVideoBitrate, "second");
        r.form.SetText(txtVertCrop, "never");
    });
    EXPECT_FALSE(r.form.pressButton(cmdCalcLength));
    EXPECT_EQ(r.log,
              (std::vector<std::string>{"txtHorizCrop=first", "txtVideoBitrate=second", "txtVertOff=inner"}));
    EXPECT_EQ(r.form.GetText(txtVertCrop), "");
    ASSERT_EQ(r.reports.size(), 1U);
    EXPECT_EQ(r.reports[0].kind(), FailureKind::Overflow);

    // The model is usable again afterwards.
    EXPECT_TRUE(r.form.editText(txtFileSize, "1"));
    EXPECT_EQ(r.reports.size(), 1U);
}

TEST(FormModel, OtherExceptionsAreReportedNotPropagated) {
    Recorded r;
    r.form.on(cmdCalcFileSize, Event::Click, [] { throw std::runtime_error("boom"); });
    EXPECT_FALSE(r.form.pressButton(cmdCalcFileSize));
    ASSERT_EQ(r.reports.size(), 1U);
    EXPECT_EQ(r.reports[0].kind(), FailureKind::Internal);
}

TEST(FormModel, UserActionsArrivingDuringAnotherAreRefused) {
    Recorded r;
    bool innerAccepted = true;
    r.form.on(cmdCalcFileSize, Event::Click, [&] { innerAccepted = r.form.editText(txtFileSize, "echo"); });
    EXPECT_TRUE(r.form.pressButton(cmdCalcFileSize));
    EXPECT_FALSE(innerAccepted);
    EXPECT_EQ(r.form.GetText(txtFileSize), "");
}

TEST(Failure, SentencesNameTheQuantityAndTheProblem) {
    const std::pair<Failure, const char*> cases[] = {
        {Failure(FailureKind::NotANumber, "abc", txtFileSize), "The file size \"abc\" is not a number."},
        {Failure(FailureKind::NotANumber, "", txtVideoBitrate),
         "The video bitrate is empty; enter a number."},
        {Failure(FailureKind::DivisionByZero, "0", txtMovieLength, txtVideoBitrate),
         "The movie length is 0, so the video bitrate cannot be calculated."},
        {Failure(FailureKind::DivisionByZero, "", txtVideoBitrate, txtMovieLength),
         "The video and audio bitrates add up to 0, so the movie length cannot be calculated."},
        {Failure(FailureKind::Overflow, "", txtFileSize), "The file size would be too large to calculate."},
        {Failure(FailureKind::Overflow, "", txtVideoBitrate, txtVideoBitrateSceneDetect),
         "The scene-detect bitrate would be too large; check the video bitrate."},
    };
    for (const auto& [failure, sentence] : cases) EXPECT_STREQ(failure.what(), sentence);
}

}  // namespace
}  // namespace korvel
