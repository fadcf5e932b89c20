// The window: layout (also run at other scales), keyboard, binding and failure reporting.

#include <QClipboard>
#include <QComboBox>

#include "UiTest.h"

using namespace korvel;
using enum Ctl;

class WindowTest : public test::Fixture {
    Q_OBJECT

    QString reason() const {  // shown just below the focused box, or ""
        auto* label = window_->findChild<QLabel*>("failureReason");
        const QWidget* box = QApplication::focusWidget();
        if (!label->isVisible()) return {};
        const QPoint offset = label->pos() - box->mapToGlobal(QPoint(0, box->height()));
        return offset.manhattanLength() < 8 ? test::shown(label) : "elsewhere";
    }

private slots:
    void initTestCase() { setUp(); }
    void init() { open(); }
    void cleanup() { close(); }

    void layoutFollowsTheTable() {
        QVERIFY(window_->size() == QSize(537, 250) && window_->maximumSize() == window_->minimumSize());
        QCOMPARE(window_->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        QCOMPARE(find<QWidget>(Frame3)->geometry(), QRect(8, 8, 209, 233));  // worked out by hand
        for (const ControlSpec& c : controlTable()) {
            QWidget* w = find<QWidget>(c.id);
            const Pixels at = toPixels(c.twips);
            if (c.kind == Kind::Form) continue;
            QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(controlName(c.container).data()));
            QCOMPARE(w->geometry(), QRect(at.left, at.top, at.width, at.height));
            QCOMPARE(w->focusPolicy() != Qt::NoFocus, c.kind >= Kind::TextBox);
            QVERIFY(w->isVisible() && (c.kind < Kind::TextBox || !w->accessibleName().isEmpty()));
            // Captions whole in the chosen font, which must be there; boxes tall enough for it.
            const char* caption = c.kind == Kind::GroupBox ? "title" : "text";
            if (c.kind <= Kind::Label || c.kind == Kind::PushButton)
                QCOMPARE(w->property(caption).toString(), c.initialText.data());
            QVERIFY2(c.kind != Kind::Label || w->sizeHint().width() <= w->width(), c.name.data());
            QVERIFY(c.kind != Kind::TextBox || w->minimumSizeHint().height() <= w->height());
            QCOMPARE(QFontInfo(w->font()).family(), window::kFontFamily);
            // Results take no typing and look like results: on the window's colour.
            QCOMPARE(w->property("readOnly").toBool(), c.readOnly);
            QCOMPARE(w->palette().base() == window_->palette().window(), c.readOnly);
            // Only labels overlap, and lie beneath the control they reach into.
            for (const ControlSpec& d : controlTable()) {
                QWidget* other = find<QWidget>(d.id);
                if (c.id >= d.id || !other || other->parentWidget() != w->parentWidget()) continue;
                if (!other->geometry().intersects(w->geometry())) continue;
                QVERIFY2((c.kind == Kind::Label) != (d.kind == Kind::Label), c.name.data());
                const QObjectList& stack = w->parentWidget()->children();  // bottom first
                QCOMPARE(stack.indexOf(w) < stack.indexOf(other), c.kind == Kind::Label);
            }
        }
        window_->setPalette(QPalette(Qt::white, QColor(40, 40, 40)));  // a dark desktop
        QCOMPARE(find(txtVertOff)->palette().color(QPalette::Base), QColor(40, 40, 40));
    }

    // Tab goes round in the table's order from where the focus starts, Enter and Escape press
    // no button (at start-up every press would fail). Keystrokes reach the model and its writes
    // come back at once, without echo: the cursor stays where the user put it. Ctrl+Q closes.
    void theKeyboard() {
        // clang-format off
        const Ctl ring[] = {txtVertOff, txtVertCrop, txtHorizCrop, cboMovieFormat, txtVertSize, cboHorizSize,
            cboAudioBitrate, txtMovieLength, txtFileSize, txtVideoBitrate, cmdCalcLength, cmdCalcFileSize,
            cmdCalcVideoBitrate, txtVideoBitrateSceneDetect, txtVSizeErr, txtVSizeErrCrop, txtVertOff};
        // clang-format on
        for (Ctl c : ring) {
            QCOMPARE(QApplication::focusWidget(), find<QWidget>(c));
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab}) {
                QTest::keyClick(QApplication::focusWidget(), key);
            }
        }
        QStringList sceneDetect;
        for (Qt::Key key : {Qt::Key_8, Qt::Key_0, Qt::Key_0, Qt::Key_Home, Qt::Key_1}) {
            QTest::keyClick(find<QWidget>(txtVideoBitrate), key);
            sceneDetect << find(txtVideoBitrateSceneDetect)->text();
        }
        QCOMPARE(sceneDetect, (QStringList{"10", "96", "960", "960", "2160"}));
        QCOMPARE(find(txtVideoBitrate)->cursorPosition(), 1);
        QTest::keyClick(find<QComboBox>(cboHorizSize), Qt::Key_Down);
        QCOMPARE(find(txtVertSize)->text(), QStringLiteral("464"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window_->isVisible());
    }

    // A keystroke that fails marks the box without a dialog: a tint, the reason shown beside
    // it while it has the focus, refreshed at every keystroke, and the same as its description;
    // a typed audio bitrate, which counts as 0, too. A failed press shows one warning, then
    // puts the focus in the box at fault, its text selected. Texts are shown as typed, whole.
    void failuresReachTheUser() {
        // clang-format off
        const QString markup = "The video bitrate \"90<img src=\"/x.png\"><b>\" is not a number.";
        const QString audio = "The audio bitrate \"96\" is not one of the listed bitrates, so it counts as 0 kbit/s.";
        const std::tuple<Ctl, QString, Ctl, QString> steps[] = {  // typed or pressed, focus, reason or warning
            {txtVideoBitrate, "90,5", txtVideoBitrate, "The video bitrate \"90,5\" is not a number; write decimals with \".\"."},
            {txtVideoBitrate, "\b\b", txtVideoBitrate, ""},
            {txtVideoBitrate, "<img src=\"/x.png\"><b>", txtVideoBitrate, markup},
            {txtVideoBitrate, "\t", cmdCalcLength, ""},
            {txtVideoBitrate, "", txtVideoBitrate, markup},
            {txtFileSize, "<img src=\"/x.png\"><font size=7>", txtFileSize, ""},
            {cmdCalcLength, " ", txtFileSize, "The file size \"<img src=\"/x.png\"><font size=7>\" is not a number."},
            {txtFileSize, "700", txtFileSize, ""},
            {txtMovieLength, "0.0000000001", txtMovieLength, ""},
            {cmdCalcVideoBitrate, " ", txtMovieLength, "The video bitrate would be too large; check the movie length."},
            {txtMovieLength, "120", txtMovieLength, ""},
            {txtVideoBitrate, "-127.9999999", txtVideoBitrate, ""},
            {cmdCalcLength, " ", txtVideoBitrate, "The movie length would be too large; check the video bitrate."},
            {cboAudioBitrate, "96", cboAudioBitrate, audio},  // kept as typed, not completed
            {cboAudioBitrate, " Kbit/s", cboAudioBitrate, ""},
            {cboAudioBitrate, "\b\b\b\b\b\b\b\r", cboAudioBitrate, audio}};  // Enter adds no entry
        // clang-format on
        for (const auto& [c, typed, focus, said] : steps) {
            if (!typed.startsWith('\t')) find<QWidget>(c)->setFocus(Qt::TabFocusReason);  // selects all
            QTest::keyClicks(QApplication::focusWidget(), typed);
            const bool press = controlSpec(c).kind == Kind::PushButton;
            QVERIFY(QTest::qWaitForWindowActive(window_.get()));
            QCOMPARE(press ? std::exchange(test::warnings.seen, {}).join('|') : reason(), said);
            QCOMPARE(QApplication::focusWidget(), find<QWidget>(focus));
            if (press) QCOMPARE(find(focus)->selectedText(), find(focus)->text());
            const QString about = find<QWidget>(c)->accessibleDescription();
            if (focus == c) QCOMPARE(about, said);
            QCOMPARE(find<QWidget>(c)->palette() == find(txtMovieLength)->palette(), about.isEmpty());
            QCOMPARE(find(txtVertOff)->palette().base(), window_->palette().window());
            QLineEdit* edit = c == cboAudioBitrate ? find<QComboBox>(c)->lineEdit() : find(c);
            if (!press) QCOMPARE(edit->text(), QString::fromStdString(form_->GetText(c)));
        }
        QCOMPARE(find<QComboBox>(cboAudioBitrate)->count(), 9);
        QTest::keyClick(find<QComboBox>(cboAudioBitrate), Qt::Key_Down);  // a pick clears it
        QCOMPARE(reason() + find<QWidget>(cboAudioBitrate)->accessibleDescription(), QString());
        QApplication::clipboard()->setText(QString(40000, '7'));
        QTest::keyClick(find(txtFileSize), Qt::Key_V, Qt::ControlModifier);  // after "700"
        QTest::keyClick(find<QWidget>(cboAudioBitrate), Qt::Key_V,
                        Qt::ControlModifier);  // after "256 Kbit/s"
        QCOMPARE(form_->GetText(txtFileSize).size() + form_->GetText(cboAudioBitrate).size(), 80013U);
        QCOMPARE(window::numberFormatOf(QLocale(QLocale::German)).decimalSeparator, ',');
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
