#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Fixture.h"

namespace korvel {
namespace {

using enum Ctl;
using testing::LoadedForm;
using Log = std::vector<std::string>;

TEST(FormModel, UserActionsTakeOnlyWhatTheControlAllows) {
    LoadedForm f;
    EXPECT_FALSE(f.form.editText(txtVertSize, "1") || f.form.pressButton(txtFileSize));  // read-only; a box
    EXPECT_FALSE(f.form.pickEntry(cboMovieFormat, 4) || f.form.pickEntry(cboMovieFormat, -1));
    EXPECT_FALSE(f.form.typeListText(cboHorizSize, "5"));  // a fixed list takes no typing
    EXPECT_TRUE(f.writes.empty() && f.reports.empty());
    // Typing an entry's exact text selects it, any other text selects none; typing raises no click.
    for (const auto& [typed, position] : {std::pair{"256 Kbit/s", 0}, {"16 Kbit/s", 8}, {"128", -1}}) {
        EXPECT_TRUE(f.form.typeListText(cboAudioBitrate, typed));
        EXPECT_EQ(f.form.GetListIndex(cboAudioBitrate), position) << typed;
    }
    EXPECT_EQ(f.writes,
              (Log{"cboAudioBitrate=256 Kbit/s", "cboAudioBitrate=16 Kbit/s", "cboAudioBitrate=128"}));
}

// A failure deep in nested handlers unwinds to the user action, which reports it; so does anything
// else thrown. Actions arriving meanwhile, such as a view echoing a write, are refused; after the
// action the form takes the next one.
TEST(FormModel, FailuresUnwindToTheActionAndAreReportedOnce) {
    LoadedForm f({}, false);
    bool echoAccepted = true;
    f.form.on(cmdCalcLength, Event::Click, [&] {
        echoAccepted = f.form.editText(txtFileSize, "echo");
        throw std::runtime_error("boom");
    });
    f.form.on(cmdCalcFileSize, Event::Click, [] { throw 42; });
    EXPECT_FALSE(f.form.pressButton(cmdCalcLength) || echoAccepted || f.form.pressButton(cmdCalcFileSize));
    ASSERT_EQ(f.reports.size(), 2U);
    EXPECT_STREQ(f.reports[0].what(), "The result could not be calculated (boom).");
    EXPECT_EQ(f.reports[1].kind(), FailureKind::Internal);
    EXPECT_TRUE(f.form.editText(txtFileSize, "1"));  // usable again
}

// A long text is quoted by its start and, where its reading stopped, the characters up to there;
// a text may start with a byte that continues a character. A character that would act shows as
// its code and counts as one; the quote is a direction isolate.
TEST(Failure, QuotesLongTextsByTheirStartAndWhereTheyStop) {
    std::string a(60, 'a'), d;
    for (int i = 0; i < 70; ++i) d += static_cast<char>('0' + i % 10);
    using namespace std::string_literals;
    const std::string rlo = "\u202E";
    for (const auto& [text, stop, quote] :
         {std::tuple{a, std::string::npos, a},
          {a + "b", 59, a + "…"},
          {"\xbb" + d, 0, "[0xBB]" + d.substr(0, 59) + "…"},
          {rlo + d.substr(1), 62, "[U+202E]" + d.substr(1, 29) + "…" + d.substr(41, 20) + "…"},
          {d, std::string::npos, d.substr(0, 30) + "…" + d.substr(50)},
          {"7" + rlo + "é\U0001F600", 1, "7[U+202E]é\U0001F600"},
          {"12\0"
           "34\0"
           "\xFF\u200B\xED\xA0\x80\t"s,
           2, "12[U+0000]34[U+0000][0xFF][U+200B][0xED][0xA0][0x80][U+0009]"},
          {"\xF5\x80\xF4\x80\x80\x80\xF0\x80\x80\x80", 0, "[0xF5][0x80]\U00100000[0xF0][0x80][0x80][0x80]"},
          {"\xDF\xBF\xE0\x9F\xBF\xC1\x80\x80\x80", 0, "\u07FF[0xE0][0x9F][0xBF][0xC1][0x80][0x80][0x80]"}}) {
        EXPECT_EQ(quoted(text, stop), "\"\u2068" + quote + "\u2069\"") << stop;
    }
}

// The controls of the control table, as a fresh model holds them.
TEST(Controls, NamesTextsFocusOrderAndPixelsFollowTheLayoutTable) {
    FormModel form;
    const char* const prefixes[] = {"frm", "Frame", "Label", "txt", "cbo", "cmd"};  // by Kind
    for (const auto& c : controlTable()) {
        EXPECT_TRUE(c.name.starts_with(prefixes[static_cast<int>(c.kind)]) && c.name.size() > 5) << c.name;
        EXPECT_TRUE(c.kind != Kind::TextBox || form.GetText(c.id) == (c.id == txtMovieLength ? "120" : ""))
            << c.name;
        EXPECT_TRUE(c.kind != Kind::DropDownList || form.GetListIndex(c.id) == -1) << c.name;
        // Only the three boxes to type in take typing; lengths are whole pixels; captions are there.
        EXPECT_EQ(c.kind == Kind::TextBox && !c.readOnly,
                  c.id == txtMovieLength || c.id == txtFileSize || c.id == txtVideoBitrate);
        EXPECT_EQ(std::tuple(c.twips.left % 15, c.twips.top % 15, c.twips.width % 15, c.twips.height % 15),
                  std::tuple(0, 0, 0, 0))
            << c.name;
        EXPECT_TRUE((c.kind > Kind::Label && c.kind != Kind::PushButton) || !c.initialText.empty()) << c.name;
    }
    EXPECT_EQ(form.GetText(cboAudioBitrate), "Combo1");
    int entryWrites = 0;  // a view learns of entries through the observer too
    form.setObserver([&](Ctl, Write w) { entryWrites += w == Write::Entries; });
    form.AddEntry(cboMovieFormat, "TV (4:3)");
    EXPECT_EQ(entryWrites, 1);
    EXPECT_EQ(form.GetListIndex(cboMovieFormat), -1);  // adding selects nothing
    // clang-format off
    EXPECT_EQ(focusOrder(), (std::array<Ctl, 16>{txtVertOff, txtVertCrop, txtHorizCrop, cboMovieFormat,
        txtVertSize, cboHorizSize, cboAudioBitrate, txtMovieLength, txtFileSize, txtVideoBitrate,
        cmdCalcLength, cmdCalcFileSize, cmdCalcVideoBitrate, txtVideoBitrateSceneDetect, txtVSizeErr,
        txtVSizeErrCrop}));
    for (const auto& [c, left, top, width, height] : {std::tuple{frmKorvel, 0, 0, 537, 250},
            {Frame3, 8, 8, 209, 233}, {txtVertOff, 200, 88, 81, 25}, {cboHorizSize, 16, 40, 73, 21}}) {
        const Rect p = toPixels(controlDef(c).twips);
        EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height), std::tie(left, top, width, height))
            << controlName(c);
    }
    // clang-format on
}

}  // namespace
}  // namespace korvel
