// The window, on the offscreen platform unless QT_QPA_PLATFORM is set: its layout (CTest
// runs it at each scale users set), the keyboard, the binding and the failure reporting.

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QColorSpace>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <climits>
#include <cmath>
#include <map>

#include "calc/Startup.h"
#include "window/Accessibility.h"
#include "window/Application.h"
#include "window/Colours.h"
#include "window/FormWindow.h"

using namespace korvel;
using window::contrast;
using enum Ctl;

// A label's text as a screen reader gets it: markup read as such is gone from it.
static QString shown(QObject* l) { return QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name); }

// A box as drawn: its background (the commonest colour inside its frame), the contrast of its text
// (the pixel that stands out most) against it, and its edge (the two outermost pixels: its frame).
struct Drawn {
    QColor background;
    double text;
    std::array<QColor, 2> edge;
};
static Drawn drawn(QWidget* box) {
    const QImage image = box->grab().toImage();
    std::map<QRgb, int> count;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x) ++count[image.pixel(x, y)];
    const QColor background(std::ranges::max_element(count, {}, &std::pair<const QRgb, int>::second)->first);
    double most = 1;
    for (const auto& [rgb, n] : count) most = std::max(most, contrast(QColor(rgb), background));
    const int middle = image.height() / 2;
    return {background, most, {image.pixel(0, middle), image.pixel(int(image.devicePixelRatio()), middle)}};
}
// Whether two boxes look apart: by their fill, or else by their edge.
static bool apart(const Drawn& a, const Drawn& b) {
    return contrast(a.background, b.background) > 1.05 || contrast(a.edge[0], b.edge[0]) > 1.5 ||
           contrast(a.edge[1], b.edge[1]) > 1.5;
}

class WindowTest : public QObject {
    Q_OBJECT
    QStringList warnings_;
    QFont warningFont_;
    std::unique_ptr<FormModel> form_;
    std::unique_ptr<window::FormWindow> window_;

    template <class W = QLineEdit>
    W* find(Ctl c) const {
        return window_->findChild<W*>(controlName(c).data());
    }
    QLineEdit* edit(Ctl c) const {  // a box, or the text part of the audio list
        return c == cboAudioBitrate ? find<QComboBox>(c)->lineEdit() : find(c);
    }
    QString reason() const {  // shown level with the focused box (or left of it), touching the window, or ""
        auto* label = window_->findChild<QLabel*>("failureReason");
        const QRect frame = window_->frameGeometry(), at = label->geometry();
        if (!label->isVisible()) return "";
        const bool beside = !at.intersects(frame) && at.intersects(frame.adjusted(0, -4, 0, 4));
        return beside && at.x() < QApplication::focusWidget()->mapToGlobal(QPoint()).x() + 4 ? shown(label)
                                                                                             : "elsewhere";
    }

public:
    // Records the text of each warning shown and dismisses it at once, so none can hang a test.
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (event->type() != QEvent::Show || !box) return false;
        warnings_ << shown(box->findChild<QLabel*>("qt_msgbox_label"));
        warningFont_ = box->findChild<QLabel*>("qt_msgbox_label")->font();
        QFont bold = box->font();  // the title as a window manager may draw it, beside three buttons
        bold.setBold(true);
        if (QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 150 > box->sizeHint().width())
            warnings_ << "cut";
        QTimer::singleShot(0, box, &QDialog::reject);
        return false;
    }
    static void initMain() {  // before QTEST_MAIN makes the application
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_STYLE_OVERRIDE", "Windows");  // a desktop whose style is another one
    }

private slots:
    void init() {
        window::setUpApplication(*qApp, window::Style::Fusion);
        window::installAccessibility();
        qApp->installEventFilter(this);
        form_ = std::make_unique<FormModel>();
        bindHandlers(*form_, {});
        window_ = std::make_unique<window::FormWindow>(*form_);
        form_->load();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        QCOMPARE(std::exchange(warnings_, {}), QStringList());
    }

    void layoutFollowsTheTable() {
        QVERIFY(window_->size() == QSize(537, 250) && window_->maximumSize() == window_->minimumSize());
        QVERIFY(!window_->windowFlags().testAnyFlag(Qt::WindowMaximizeButtonHint));  // no button for it
        QCOMPARE(window_->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        QCOMPARE(window_->style()->name(), "fusion");  // the style the captions were fitted in
        for (const ControlDef& c : controlTable()) {
            if (c.kind == Kind::Form) continue;
            QWidget* w = find<QWidget>(c.id);
            const Rect at = toPixels(c.twips);
            QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(controlName(c.container).data()));
            QCOMPARE(w->geometry(), QRect(at.left, at.top, at.width, at.height));
            QVERIFY(w->isVisible() && (c.kind < Kind::TextBox || !w->accessibleName().isEmpty()));
            // Captions shown whole in the chosen font, which must be there; boxes tall enough for it.
            if (c.kind <= Kind::Label || c.kind == Kind::PushButton)
                QCOMPARE(w->property(c.kind == Kind::GroupBox ? "title" : "text"), c.initialText.data());
            QVERIFY2(c.kind != Kind::Label || w->sizeHint().width() <= w->width(), c.name.data());
            QVERIFY(c.kind != Kind::TextBox || w->minimumSizeHint().height() <= w->height());
            QCOMPARE(QFontInfo(w->font()).family(), window::kFontFamily);
            // Results take no typing and look like results: on the window's colour.
            QCOMPARE(w->property("readOnly").toBool(), c.readOnly);
            QCOMPARE(w->palette().base() == window_->palette().window(), c.readOnly);
            // Only labels overlap, and lie beneath the control they reach into.
            const QObjectList& stack = w->parentWidget()->children();  // bottom first
            for (QObject* o : stack.sliced(stack.indexOf(w) + 1)) {
                auto* above = qobject_cast<QWidget*>(o);
                if (above && above->isVisible() && above->geometry().intersects(w->geometry()))
                    QVERIFY2(c.kind == Kind::Label && !qobject_cast<QLabel*>(above), c.name.data());
            }
        }
        QCOMPARE(QApplication::windowIcon().cacheKey(), window_->windowIcon().cacheKey());  // dialogs' too
        for (int size : {16, 32, 64}) {  // the icon, pixel for pixel as drawn
            QImage drawn = QImage(QStringLiteral(KORVEL_ICONS_DIR "/%1.png").arg(size))
                               .convertToFormat(QImage::Format_ARGB32);
            drawn.setColorSpace({});  // the PNG's sRGB tag: the X icon property carries none
            QCOMPARE(window_->windowIcon().pixmap(QSize(size, size), 1.0).toImage(), drawn);
        }
        // To assistive technology, from the first window on, the window is a window with its caption
        // (what the boxes say, Orca's test hears), in an application of the program's name, not the binary's.
        const QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window_.get());
        QVERIFY(frame->role() == QAccessible::Window &&
                frame->text(QAccessible::Name) == "Korvel;) Video Setup" &&
                frame->parent()->text(QAccessible::Name) == "korvel-video-setup");
    }

    // Tab goes round in the focus order from where the focus starts; Enter and Escape press no
    // button (at start-up every press would fail). Keystrokes reach the model and its writes
    // come back at once, without echo: the cursor stays where the user put it. Ctrl+Q closes.
    void theKeyboard() {
        for (Ctl c : focusOrder()) {
            QCOMPARE(QApplication::focusWidget(), find<QWidget>(c));
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab})
                QTest::keyClick(QApplication::focusWidget(), key);
        }
        QCOMPARE(QApplication::focusWidget(), find<QWidget>(focusOrder().front()));
        for (Qt::Key key : {Qt::Key_8, Qt::Key_0, Qt::Key_0, Qt::Key_Home, Qt::Key_1})
            QTest::keyClick(find(txtVideoBitrate), key);
        QCOMPARE(find(txtVideoBitrateSceneDetect)->text(), QStringLiteral("2160"));
        QCOMPARE(find(txtVideoBitrate)->cursorPosition(), 1);
        QTest::keyClick(find<QComboBox>(cboHorizSize), Qt::Key_Down);
        QCOMPARE(find(txtVertSize)->text(), QStringLiteral("464"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window_->isVisible());
    }

    // The desktop's palettes, taken on while the program runs: marks, inputs, results and the reason
    // read (WCAG AA) and look apart, the boxes to type in stand 3:1 from the window at their edge; the
    // colours survive a reset palette.
    void theDesktopsPalettes() {
        QTest::keyClicks(find(txtVideoBitrate), "x");
        QTest::keyClicks(edit(cboAudioBitrate), "96");
        for (const auto& [window, base, text] :
             {std::tuple<QColor, QColor, QColor>{"#efefef", "white", "black"},
              {"#353535", "#2d2d2d", "#eeeeec"},
              {"black", "black", "white"},
              {"#808080", "#808080", "black"},
              {"#efefef", "white", "#767676"}}) {
            // Tool tip colours that hardly read included.
            QPalette palette(text, window, window, window, window, text, text, base, window);
            palette.setColor(QPalette::ToolTipBase, "#b0b0b0");
            palette.setColor(QPalette::ToolTipText, "#5e5e5e");
            window_->setPalette(palette);
            QCoreApplication::processEvents();
            find(txtVideoBitrate)->setFocus();
            const auto [marked, audio, input, result, said] = std::tuple{
                drawn(find(txtVideoBitrate)), drawn(edit(cboAudioBitrate)), drawn(find(txtMovieLength)),
                drawn(find(txtVertSize)), drawn(window_->findChild<QLabel*>("failureReason"))};
            // Drawn text never reads worse than in the boxes to type in; at 4.5 where these do.
            QVERIFY(std::min({marked.text, audio.text, result.text, said.text}) >= std::min(4.5, input.text));
            QVERIFY(apart(marked, input) && apart(result, input) && contrast(input.edge[0], window) >= 3);
            QCOMPARE(audio.background, marked.background);  // its one outline, not one more each time
            QCOMPARE(find<QComboBox>(cboAudioBitrate)->findChildren<QWidget*>("markOutline").size(), 1);
            // The open list is drawn like any list: only the box is marked.
            QCOMPARE(find<QComboBox>(cboAudioBitrate)->view()->palette().color(QPalette::Base), base);
        }
        window_->setPalette(QPalette());
        QTest::qWait(50);  // the colours settled: what follows is the box's own change alone
        find(txtVertSize)->setPalette(QPalette());  // as a style may do, the window's colours set
        QCoreApplication::processEvents();
        QCOMPARE(find(txtVertSize)->palette().base(), window_->palette().window());
    }

    // The desktop's font changes no pixel of the window but reaches the dialog and the reason.
    void theDesktopsFont() {
        const QFont desktop = QApplication::font();
        // The window's font was the application's only while the window was built.
        QCOMPARE(desktop, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        QApplication::setCursorFlashTime(0);  // a blinking cursor would change the picture
        find(txtVideoBitrate)->setFocus();
        const QImage before = window_->grab().toImage();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
        QCoreApplication::processEvents();
        QCOMPARE(window_->grab().toImage(), before);
        QTest::keyClicks(find(txtVideoBitrate), "-");
        auto* reason = window_->findChild<QLabel*>("failureReason");
        QVERIFY(reason->isVisible() && reason->width() <= window_->width());
        QTest::mouseClick(find<QWidget>(cmdCalcLength), Qt::LeftButton);
        QVERIFY(warningFont_.pointSize() == 14 && reason->font().pointSize() == 14);
        warnings_.clear();
        QApplication::setFont(desktop);
    }

    // A user's style holds: QT_STYLE_OVERRIDE (from initMain) or -style; Fusion otherwise.
    void theUsersStyle() {
        const window::Style fromEnvironment = window::styleToUse("");
        qunsetenv("QT_STYLE_OVERRIDE");
        QVERIFY(std::tuple(fromEnvironment, window::styleToUse(""), window::styleToUse("windows")) ==
                std::tuple(window::Style::UsersChoice, window::Style::Fusion, window::Style::UsersChoice));
        qputenv("QT_STYLE_OVERRIDE", "Windows");
    }

    // The reason takes no click. Where the screen has room, it lies clear of the window and follows it;
    // where it has none (at 60 pt), a press on it reaches the control beneath. Escape puts it away.
    void theReasonIsNeverInTheWay() {
        const QFont desktop = QApplication::font();
        auto* label = window_->findChild<QLabel*>("failureReason");
        for (const int points : {20, 60}) {
            QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
            QCoreApplication::processEvents();
            edit(cboAudioBitrate)->setFocus();
            QTest::keyClicks(edit(cboAudioBitrate), "x");
            window_->move(window_->pos() + QPoint(0, 9));
            QCoreApplication::processEvents();
            const QPoint at = find<QWidget>(cmdCalcVideoBitrate)->mapToGlobal(QPoint(24, 12));
            const bool clear = !label->geometry().intersects(window_->frameGeometry());
            QVERIFY(clear ? reason() != "elsewhere" : points == 60 && label->geometry().contains(at));
            QWindow* under = clear ? QGuiApplication::topLevelAt(at) : label->windowHandle();
            QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFromGlobal(at));
            QCOMPARE(std::exchange(warnings_, {}), QStringList("The file size is empty; enter a number."));
        }
        edit(cboAudioBitrate)->setFocus();
        QVERIFY(label->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!label->isVisible() && !find<QWidget>(cboAudioBitrate)->accessibleDescription().isEmpty());
        QApplication::setFont(desktop);
    }

    // A keystroke that fails (or types an audio bitrate, which counts as 0) tints the box and shows
    // the reason beside it while it has the focus, as its description too. A failed press warns,
    // then selects the text of the box at fault. Texts show as typed: no markup, no completion.
    void failuresReachTheUser() {
        // clang-format off
        const QString markup = "The video bitrate \"\u206890<img src=\"/x.png\"><b>\u2069\" is not a number.";
        const QString audio =
            "The audio bitrate \"\u206896\u2069\" is not one of the listed bitrates, so it counts as "
            "0 kbit/s.";
        // Typed or pressed, where the focus is then, and the reason or warning shown.
        const std::tuple<Ctl, QString, Ctl, QString> steps[] = {
            {txtVideoBitrate, "90<img src=\"/x.png\"><b>", txtVideoBitrate, markup},
            {txtVideoBitrate, "\t", cmdCalcLength, ""}, {txtVideoBitrate, "", txtVideoBitrate, markup},
            {txtVideoBitrate, "90", txtVideoBitrate, ""},
            {txtFileSize, "<img src=\"/x.png\"><font size=7>", txtFileSize, ""},
            {cmdCalcLength, " ", txtFileSize,
             "The file size \"\u2068<img src=\"/x.png\"><font size=7>\u2069\" is not a number."},
            {txtVideoBitrate, "x", txtVideoBitrate, "The video bitrate \"\u2068x\u2069\" is not a number."},
            {txtFileSize, "14648438", txtFileSize, ""},  // the mark goes when the box is written, though
            {txtMovieLength, "1", txtMovieLength, ""},   // the press writing it then fails
            {cmdCalcVideoBitrate, " ", txtVideoBitrate,
             "The scene-detect bitrate would be too large; check the video bitrate."},
            {cboAudioBitrate, "96\r", cboAudioBitrate, audio}};  // Enter adds no entry
        // clang-format on
        for (const auto& [c, typed, focus, said] : steps) {
            if (!typed.startsWith('\t')) find<QWidget>(c)->setFocus(Qt::TabFocusReason);  // selects all
            QTest::keyClicks(QApplication::focusWidget(), typed);
            const bool press = controlDef(c).kind == Kind::PushButton;
            QVERIFY(QTest::qWaitForWindowActive(window_.get()));
            QCOMPARE(press ? std::exchange(warnings_, {}).join('|') : reason(), said);
            QCOMPARE(QApplication::focusWidget(), find<QWidget>(focus));
            if (press) {  // the box at fault: ready to be typed over, and no longer marked
                QCOMPARE(find(focus)->selectedText(), find(focus)->text());
                QCOMPARE(find(focus)->accessibleDescription(), QString());
                QCOMPARE(find(focus)->palette(), find(txtMovieLength)->palette());
            }
            const QString about = find<QWidget>(c)->accessibleDescription();
            if (focus == c) QCOMPARE(about, said);
            QCOMPARE(find<QWidget>(c)->palette() == find(txtMovieLength)->palette(), about.isEmpty());
            if (!press) QCOMPARE(edit(c)->text(), QString::fromStdString(form_->GetText(c)));
        }
        QCOMPARE(find<QComboBox>(cboAudioBitrate)->count(), 9);
        QTest::keyClick(find<QComboBox>(cboAudioBitrate), Qt::Key_Down);  // a pick clears it
        QVERIFY(reason().isEmpty() && find<QWidget>(cboAudioBitrate)->accessibleDescription().isEmpty());
        QApplication::clipboard()->setText(QString(40000, '7'));
        QTest::keyClick(find(txtFileSize), Qt::Key_V, Qt::ControlModifier);  // after "14648438", and after
        QTest::keyClick(find<QWidget>(cboAudioBitrate), Qt::Key_V, Qt::ControlModifier);  // "256 Kbit/s"
        QCOMPARE(form_->GetText(txtFileSize).size(), 40008U);
        QCOMPARE(form_->GetText(cboAudioBitrate).size(), 40010U);
    }

    // Whatever assistive technology asks of a box's text, at any offset, is answered from within the
    // text (at once: QTEST_FUNCTION_TIMEOUT ends a call that does not return); a write adds no more
    // than typing would.
    void accessibleCallsAnswer() {
        const QString sevens(65536, u'7');
        // The box, its text, its first two pieces by word ("-24": Qt's own search never returned from it).
        // clang-format off
        const std::tuple<Ctl, QString, QString> rows[] = {
            {txtMovieLength, "-x", "-|x"}, {txtFileSize, " 12", " |12"}, {txtVideoBitrate, "-", "-|"},
            {txtVertOff, "-24", "-|24"}, {cboAudioBitrate, "a, b. C", "a|, "}, {txtVSizeErr, "", "|"},
            {txtVideoBitrateSceneDetect, sevens + " x", sevens + "| "},
            {txtHorizCrop, "12\u2400" "34", "12|\u2400"}};
        // clang-format on
        for (const auto& [c, text, words] : rows) {
            const QString held = QString(text).replace(u'\u2400', QChar(0));  // a NUL, read as its stand-in
            edit(c)->setText(held);
            QAccessibleInterface* box = QAccessible::queryAccessibleInterface(edit(c));
            QAccessibleTextInterface* reader = box->textInterface();
            const auto n = static_cast<int>(text.size());
            int start = 0, end = 0;
            const QString said = reader->textAtOffset(0, QAccessible::WordBoundary, &start, &end) + '|';
            QCOMPARE(said + reader->textAfterOffset(0, QAccessible::WordBoundary, &start, &end), words);
            if (c == cboAudioBitrate)
                QCOMPARE(reader->textAtOffset(1, QAccessible::SentenceBoundary, &start, &end), "a, b. ");
            for (const int at : {INT_MIN, -1, 0, 1, n, INT_MAX}) {
                for (int b = QAccessible::CharBoundary; b <= QAccessible::NoBoundary; ++b) {
                    const auto type = QAccessible::TextBoundaryType(b);
                    int s[3], e[3];  // of the piece before the offset, at it, after it
                    const QString pieces[] = {reader->textBeforeOffset(at, type, &s[0], &e[0]),
                                              reader->textAtOffset(at, type, &s[1], &e[1]),
                                              reader->textAfterOffset(at, type, &s[2], &e[2])};
                    for (int i = 0; i < 3; ++i) {
                        QVERIFY((s[i] == -1 && e[i] == -1) || (0 <= s[i] && s[i] <= e[i] && e[i] <= n));
                        QCOMPARE(pieces[i], text.mid(s[i], e[i] - s[i]));
                    }
                    // One piece follows another; an offset in the text, its end too, has one that holds it.
                    QVERIFY((s[0] == -1 || e[0] == s[1]) && (s[2] == -1 || s[2] == e[1]));
                    QVERIFY(s[1] == -1 ? at < 0 || at > n : s[1] <= at && at <= e[1]);
                }
                QCOMPARE(reader->text(at, ~at), at == INT_MIN ? text : QString());
                QCOMPARE(reader->characterRect(at).isValid(), at >= 0 && at < n);
                if (at == 0 && n > 0 && n < 9)  // on the box, where it is drawn
                    QVERIFY(QRect(edit(c)->mapToGlobal(QPoint()), edit(c)->size())
                                .contains(reader->characterRect(0)));
                QCOMPARE(reader->offsetAtPoint(QPoint(at, ~at)), -1);
                reader->setSelection(0, at, ~at);
                reader->selection(0, &start, &end);
                QVERIFY(0 <= start && start <= end && end <= n && reader->cursorPosition() <= n);
                if (QAccessibleEditableTextInterface* writer = box->editableTextInterface()) {
                    writer->insertText(at, "5");
                    QCOMPARE(edit(c)->text().size(), n + 1);
                    edit(c)->setText(held);
                }
            }
            edit(c)->setCursorPosition(n / 2);  // measured from the cursor, one character after another
            for (int i = 0; i + 1 < std::min(n, 9); ++i)
                QVERIFY(qAbs(reader->characterRect(i).right() + 1 - reader->characterRect(i + 1).x()) <= 1);
            const bool named = edit(c)->accessibleName() == find<QWidget>(c)->accessibleName();
            QVERIFY(named && box->state().selectableText &&
                    (box->editableTextInterface() == nullptr) == controlDef(c).readOnly);
        }
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)  // the lists' own object: text from within the entry, one child
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(find<QComboBox>(cboMovieFormat));
        QVERIFY(list->textInterface()->text(1, 3).size() == 2 && list->indexOfChild(list) == -1);
#endif
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
