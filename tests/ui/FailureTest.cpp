// Failures reach the user without ending the program: a dialog and the focus in the box
// at fault after a press, a mark on the box and no dialog while typing.

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "UiTest.h"

using namespace korvel;
using korvel::test::DialogCatcher;
using korvel::test::focusedControl;
using korvel::test::OpenWindow;

class FailureTest : public korvel::test::WindowTest {
    Q_OBJECT

    QLineEdit* box(const char* name) const { return w_->find<QLineEdit>(name); }
    void type(const char* name, const QString& text) {
        QLineEdit* b = box(name);
        b->setFocus(Qt::TabFocusReason);
        b->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(b, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(b, text);
        }
    }

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void aFailedPressShowsOneSentenceAndFocusesTheBoxAtFault_data() {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("fileSize");
        QTest::addColumn<QString>("videoBitrate");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("atFault");
        QTest::addColumn<QStringList>("sentenceNames");
        auto row = [](const char* tag, const char* length, const char* fileSize, const char* videoBitrate,
                      const char* button, const char* atFault, QStringList names) {
            QTest::newRow(tag) << QString::fromLatin1(length) << QString::fromLatin1(fileSize)
                               << QString::fromLatin1(videoBitrate) << QString::fromLatin1(button)
                               << QString::fromLatin1(atFault) << names;
        };
        row("file size not a number", "120", "abc", "800", "cmdCalcLength", "txtFileSize",
            {"file size", "\"abc\""});
        row("empty video bitrate", "120", "", "", "cmdCalcFileSize", "txtVideoBitrate",
            {"video bitrate", "empty"});
        row("length 0 divides", "0", "700", "", "cmdCalcVideoBitrate", "txtMovieLength",
            {"movie length", "0"});
        row("file size times 1024 too large", "120", "1E307", "", "cmdCalcVideoBitrate", "txtFileSize",
            {"too large", "file size"});
        row("result too large", "120", "1E300", "", "cmdCalcVideoBitrate", "txtFileSize",
            {"too large", "video bitrate"});
    }
    void aFailedPressShowsOneSentenceAndFocusesTheBoxAtFault() {
        QFETCH(QString, length);
        QFETCH(QString, fileSize);
        QFETCH(QString, videoBitrate);
        QFETCH(QString, button);
        QFETCH(QString, atFault);
        QFETCH(QStringList, sentenceNames);
        type("txtMovieLength", length);
        type("txtFileSize", fileSize);
        type("txtVideoBitrate", videoBitrate);
        QVERIFY(DialogCatcher::instance().take().isEmpty());

        QTest::mouseClick(w_->find<QPushButton>(button.toLatin1().constData()), Qt::LeftButton);

        const auto dialogs = DialogCatcher::instance().take();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(dialogs.front().warning);
        QCOMPARE(dialogs.front().title, QString::fromUtf8(window::kFailureTitle));
        const QString sentence = dialogs.front().text;
        QVERIFY2(sentence.endsWith('.'), qPrintable(sentence));
        for (const QString& name : sentenceNames) QVERIFY2(sentence.contains(name), qPrintable(sentence));
        // The window is active again once the dialog has gone.
        QVERIFY(QTest::qWaitForWindowActive(w_->window.get()));
        QCOMPARE(focusedControl(), atFault);
        QVERIFY(box(atFault.toLatin1().constData())->hasSelectedText() ||
                box(atFault.toLatin1().constData())->text().isEmpty());
        QVERIFY(w_->window->isVisible());

        // And the window goes on working.
        type("txtMovieLength", "120");
        type("txtFileSize", "");
        type("txtVideoBitrate", "800");
        QTest::mouseClick(w_->find<QPushButton>("cmdCalcFileSize"), Qt::LeftButton);
        QCOMPARE(box("txtFileSize")->text(), QStringLiteral("816"));
    }

    void aFailedKeystrokeMarksTheBoxWithoutADialog() {
        QLineEdit* video = box("txtVideoBitrate");
        const QColor normal = video->palette().color(QPalette::Base);
        type("txtVideoBitrate", "-");

        QVERIFY(DialogCatcher::instance().take().isEmpty());
        QVERIFY(w_->window->failures().marked(Ctl::txtVideoBitrate));
        QVERIFY(video->palette().color(QPalette::Base) != normal);
        QVERIFY2(video->toolTip().contains("video bitrate"), qPrintable(video->toolTip()));
        QCOMPARE(video->accessibleDescription(), video->toolTip());
        QCOMPARE(focusedControl(), QStringLiteral("txtVideoBitrate"));
        QCOMPARE(video->text(), QStringLiteral("-"));

        QTest::keyClicks(video, "100");
        QCOMPARE(box("txtVideoBitrateSceneDetect")->text(), QStringLiteral("-120"));
        QVERIFY(!w_->window->failures().marked(Ctl::txtVideoBitrate));
        QCOMPARE(video->palette().color(QPalette::Base), normal);
        QCOMPARE(video->toolTip(), QString());
        QCOMPARE(video->accessibleDescription(), QString());
    }

    void aMarkGoesWhenTheBoxIsEmptiedOrCalculated() {
        type("txtVideoBitrate", "x");
        QVERIFY(w_->window->failures().marked(Ctl::txtVideoBitrate));
        type("txtVideoBitrate", "");
        QVERIFY(!w_->window->failures().marked(Ctl::txtVideoBitrate));

        type("txtVideoBitrate", "1.2.3");
        QVERIFY(w_->window->failures().marked(Ctl::txtVideoBitrate));
        type("txtFileSize", "700");
        QTest::mouseClick(w_->find<QPushButton>("cmdCalcVideoBitrate"), Qt::LeftButton);
        QVERIFY(DialogCatcher::instance().take().isEmpty());
        QCOMPARE(box("txtVideoBitrate")->text(), QStringLiteral("668"));
        QVERIFY(!w_->window->failures().marked(Ctl::txtVideoBitrate));
    }
};

KORVEL_UI_TEST_MAIN(FailureTest)
#include "FailureTest.moc"
