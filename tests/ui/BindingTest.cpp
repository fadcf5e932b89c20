// The widgets bound to the form model: start-up state, picks, edits and typing in the
// free-text list, shown at once and without echoes, moved cursors or rewritten text.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "UiTest.h"

using namespace korvel;
using korvel::test::DialogCatcher;
using korvel::test::OpenWindow;

namespace {

// Picks an entry the way a user does with the keyboard on the closed list.
void pickWithKeys(QComboBox& list, int position) {
    list.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&list, Qt::Key_Home);
    for (int i = 0; i < position; ++i) QTest::keyClick(&list, Qt::Key_Down);
}

}  // namespace

class BindingTest : public korvel::test::WindowTest {
    Q_OBJECT

    QLineEdit* box(const char* name) const { return w_->find<QLineEdit>(name); }
    QComboBox* list(const char* name) const { return w_->find<QComboBox>(name); }

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void startUpTexts_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const std::pair<const char*, const char*> rows[] = {
            {"txtMovieLength", "120"},        {"txtFileSize", ""},
            {"txtVideoBitrate", ""},          {"txtVideoBitrateSceneDetect", ""},
            {"txtVertSize", "480"},           {"txtVSizeErr", "0"},
            {"txtVSizeErrCrop", "0"},         {"txtHorizCrop", "720"},
            {"txtVertCrop", "480"},           {"txtVertOff", "0"},
            {"cboHorizSize", "720"},          {"cboMovieFormat", "DVD Fullscreen (1.5:1)"},
            {"cboAudioBitrate", "128 Kbit/s"}};
        for (const auto& [control, text] : rows) {
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromLatin1(text);
        }
    }
    void startUpTexts() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QWidget* widget = w_->find(control.toLatin1().constData());
        if (auto* l = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(l->currentText(), text);
        } else {
            QCOMPARE(qobject_cast<QLineEdit*>(widget)->text(), text);
        }
    }

    void startUpLists() {
        QCOMPARE(list("cboHorizSize")->count(), 45);
        QCOMPARE(list("cboHorizSize")->itemText(44), QStringLiteral("16"));
        QCOMPARE(list("cboHorizSize")->currentIndex(), 0);
        QCOMPARE(list("cboMovieFormat")->count(), 4);
        QCOMPARE(list("cboMovieFormat")->currentIndex(), 0);
        QCOMPARE(list("cboAudioBitrate")->count(), 9);
        QCOMPARE(list("cboAudioBitrate")->currentIndex(), 3);
    }

    // A window built before the lists are filled shows no selection the model lacks.
    void entriesAddedLaterSelectNothing() {
        FormModel form;
        window::FormWindow window(form);
        form.AddEntry(Ctl::cboMovieFormat, "first");
        QCOMPARE(qobject_cast<QComboBox*>(&window.controls().widget(Ctl::cboMovieFormat))->currentIndex(),
                 -1);
        form.AddEntry(Ctl::cboAudioBitrate, "first");
        auto* audio = qobject_cast<QComboBox*>(&window.controls().widget(Ctl::cboAudioBitrate));
        QCOMPARE(audio->currentIndex(), -1);
        QCOMPARE(audio->currentText(), QStringLiteral("Combo1"));
    }

    void pickingASizeWithCinemascopeRunsResizeAndCrop() {
        pickWithKeys(*list("cboMovieFormat"), 3);
        QCOMPARE(list("cboMovieFormat")->currentText(), QStringLiteral("Cinemascope (2.35:1)"));
        QCOMPARE(w_->form.GetListIndex(Ctl::cboMovieFormat), 3);

        pickWithKeys(*list("cboHorizSize"), 5);
        QCOMPARE(list("cboHorizSize")->currentText(), QStringLiteral("640"));
        QCOMPARE(w_->form.GetListIndex(Ctl::cboHorizSize), 5);
        QCOMPARE(box("txtVertSize")->text(), QStringLiteral("432"));
        QCOMPARE(box("txtVSizeErr")->text(), QStringLiteral("11"));
        QCOMPARE(box("txtHorizCrop")->text(), QStringLiteral("640"));
        QCOMPARE(box("txtVertCrop")->text(), QStringLiteral("272"));
        QCOMPARE(box("txtVertOff")->text(), QStringLiteral("80"));
        QCOMPARE(box("txtVSizeErrCrop")->text(), QStringLiteral("0"));
    }

    void pickingFromTheOpenList() {
        QComboBox* formats = list("cboMovieFormat");
        formats->showPopup();
        QAbstractItemView* view = formats->view();
        QVERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(w_->form.GetListIndex(Ctl::cboMovieFormat), 1);
        QCOMPARE(box("txtVertCrop")->text(), QStringLiteral("528"));  // 720 / (4/3) = 540, down to 528
    }

    void typingTheVideoBitrateFollowsEveryKeystroke() {
        QLineEdit* video = box("txtVideoBitrate");
        video->setFocus(Qt::TabFocusReason);
        QStringList sceneDetect;
        for (char key : {'8', '0', '0'}) {
            QTest::keyClick(video, key);
            sceneDetect << box("txtVideoBitrateSceneDetect")->text();
        }
        QCOMPARE(sceneDetect, (QStringList{"10", "96", "960"}));
        QCOMPARE(w_->text(Ctl::txtVideoBitrate), "800");
        QCOMPARE(video->cursorPosition(), 3);

        // Typing in the middle keeps the cursor where the user put it.
        QTest::keyClick(video, Qt::Key_Home);
        QTest::keyClick(video, '1');
        QCOMPARE(video->text(), QStringLiteral("1800"));
        QCOMPARE(video->cursorPosition(), 1);
        QCOMPARE(box("txtVideoBitrateSceneDetect")->text(), QStringLiteral("2160"));

        video->selectAll();
        QTest::keyClick(video, Qt::Key_Backspace);
        QCOMPARE(box("txtVideoBitrateSceneDetect")->text(), QString());
    }

    void aCalculatedResultIsShownAndFollowed() {
        QTest::keyClicks(box("txtVideoBitrate"), "800");
        QTest::mouseClick(w_->find<QPushButton>("cmdCalcFileSize"), Qt::LeftButton);
        QCOMPARE(box("txtFileSize")->text(), QStringLiteral("816"));  // (800 + 128) / 8 * 120 * 60 / 1024

        QTest::mouseClick(w_->find<QPushButton>("cmdCalcVideoBitrate"), Qt::LeftButton);
        QCOMPARE(box("txtVideoBitrate")->text(), QStringLiteral("800"));
        QCOMPARE(box("txtVideoBitrateSceneDetect")->text(), QStringLiteral("960"));
    }

    void typedAudioTextIsKeptAsTyped() {
        QComboBox* audio = list("cboAudioBitrate");
        QLineEdit* edit = audio->lineEdit();
        audio->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, "9");
        // No inline completion to "96 Kbit/s".
        QCOMPARE(edit->text(), QStringLiteral("9"));
        QTest::keyClicks(edit, "5");
        QCOMPARE(w_->text(Ctl::cboAudioBitrate), "95");
        QCOMPARE(w_->form.GetListIndex(Ctl::cboAudioBitrate), -1);
        QCOMPARE(audio->currentIndex(), -1);
        QCOMPARE(edit->cursorPosition(), 2);

        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(audio->count(), 9);
        QCOMPARE(edit->text(), QStringLiteral("95"));
        QCOMPARE(w_->form.GetListIndex(Ctl::cboAudioBitrate), -1);

        // A typed bitrate counts as none at the next press.
        QTest::keyClicks(box("txtVideoBitrate"), "800");
        QTest::mouseClick(w_->find<QPushButton>("cmdCalcFileSize"), Qt::LeftButton);
        QCOMPARE(box("txtFileSize")->text(), QStringLiteral("703"));  // 800 / 8 * 120 * 60 / 1024
    }

    // Decided: typing an entry's exact text selects that entry, without a click; any
    // other text, a different case included, selects none.
    void typingAnEntrysTextSelectsIt_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::newRow("exact") << QStringLiteral("96 Kbit/s") << 5;
        QTest::newRow("other case") << QStringLiteral("96 kbit/s") << -1;
        QTest::newRow("with a blank") << QStringLiteral("96 Kbit/s ") << -1;
        QTest::newRow("first entry") << QStringLiteral("256 Kbit/s") << 0;
    }
    void typingAnEntrysTextSelectsIt() {
        QFETCH(QString, typed);
        QFETCH(int, index);
        QComboBox* audio = list("cboAudioBitrate");
        QLineEdit* edit = audio->lineEdit();
        audio->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(w_->form.GetListIndex(Ctl::cboAudioBitrate), index);
        QCOMPARE(audio->currentIndex(), index);
        QCOMPARE(edit->text(), typed);
        QCOMPARE(edit->cursorPosition(), typed.size());
        QTest::keyClick(edit, Qt::Key_Tab);  // leaving the list changes nothing
        QCOMPARE(edit->text(), typed);
        QCOMPARE(audio->count(), 9);
    }

    void pickingAnAudioEntryReplacesTypedText() {
        QComboBox* audio = list("cboAudioBitrate");
        audio->setFocus(Qt::TabFocusReason);
        audio->lineEdit()->selectAll();
        QTest::keyClicks(audio->lineEdit(), "777");
        QTest::keyClick(audio->lineEdit(), Qt::Key_Down);
        QCOMPARE(w_->form.GetListIndex(Ctl::cboAudioBitrate), audio->currentIndex());
        QCOMPARE(w_->text(Ctl::cboAudioBitrate), audio->currentText().toStdString());
        QVERIFY(audio->currentIndex() >= 0);
    }

    void decimalSeparatorOfTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("C") << QLocale::c() << '.';
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << ',';
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << ',';
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << '.';
        // Its separator is not ASCII; the point is used instead.
        QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt) << '.';
    }
    void decimalSeparatorOfTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(char, separator);
        QCOMPARE(window::numberFormatOf(locale).decimalSeparator, separator);
    }

    void aCommaLocaleReadsTypedDecimals() {
        w_ = std::make_unique<OpenWindow>(NumberFormat{','});
        QVERIFY(w_->active());
        QTest::keyClicks(box("txtVideoBitrate"), "8,5");
        QCOMPARE(box("txtVideoBitrateSceneDetect")->text(), QStringLiteral("10"));  // 10.2
        QVERIFY(!w_->window->failures().marked(Ctl::txtVideoBitrate));
    }
};

KORVEL_UI_TEST_MAIN(BindingTest)
#include "BindingTest.moc"
