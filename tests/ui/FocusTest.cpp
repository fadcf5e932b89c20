// Keyboard use: the focus order, read-only boxes, and keys that must press no button.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "UiTest.h"

using namespace korvel;
using korvel::test::DialogCatcher;
using korvel::test::focusedControl;
using korvel::test::OpenWindow;

class FocusTest : public korvel::test::WindowTest {
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void tabGoesRoundInTheTableOrder() {
        const QStringList expected{"txtVertOff",          "txtVertCrop",
                                   "txtHorizCrop",        "cboMovieFormat",
                                   "txtVertSize",         "cboHorizSize",
                                   "cboAudioBitrate",     "txtMovieLength",
                                   "txtFileSize",         "txtVideoBitrate",
                                   "cmdCalcLength",       "cmdCalcFileSize",
                                   "cmdCalcVideoBitrate", "txtVideoBitrateSceneDetect",
                                   "txtVSizeErr",         "txtVSizeErrCrop",
                                   "txtVertOff"};
        QStringList visited{focusedControl()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusedControl();
        }
        QCOMPARE(visited, expected);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(focusedControl(), QStringLiteral("txtVSizeErrCrop"));
    }

    void readOnlyBoxesTakeFocusButNoTyping() {
        for (const ControlSpec& c : controlTable()) {
            if (c.kind != Kind::TextBox || !c.readOnly) continue;
            auto* box = w_->find<QLineEdit>(c.name.data());
            box->setFocus(Qt::TabFocusReason);
            QCOMPARE(QApplication::focusWidget(), box);
            const QString before = box->text();
            QTest::keyClicks(box, "12");
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), before);
            QCOMPARE(QString::fromStdString(w_->text(c.id)), before);
        }
    }

    // Every button fails at start-up (the file size and video bitrate are empty), so a
    // press would show a dialog.
    void enterAndEscapePressNoButton_data() {
        QTest::addColumn<QString>("focus");
        for (const char* name : {"cmdCalcLength", "cmdCalcFileSize", "cmdCalcVideoBitrate", "txtFileSize",
                                 "txtMovieLength", "cboAudioBitrate"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void enterAndEscapePressNoButton() {
        QFETCH(QString, focus);
        w_->find(focus.toLatin1().constData())->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        QVERIFY(DialogCatcher::instance().take().isEmpty());
        QVERIFY(w_->window->isVisible());
    }

    void spacePressesTheFocusedButton() {
        auto* button = w_->find<QPushButton>("cmdCalcFileSize");
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(DialogCatcher::instance().take().size(), 1);
    }

    void listsArePickedWithTheKeyboard() {
        auto* sizes = w_->find<QComboBox>("cboHorizSize");
        sizes->setFocus(Qt::TabFocusReason);
        QTest::keyClick(sizes, Qt::Key_Down);
        QCOMPARE(w_->form.GetListIndex(Ctl::cboHorizSize), 1);
        QCOMPARE(w_->text(Ctl::txtVertSize), "464");  // 704 / 1.5 = 469.3, snapped to 464
    }

    void quitKeyClosesTheWindow() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!w_->window->isVisible());
    }
};

KORVEL_UI_TEST_MAIN(FocusTest)
#include "FocusTest.moc"
