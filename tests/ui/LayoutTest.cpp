// The window against the layout table: kind, container, geometry, caption and flags of
// every control, stacking, fonts that fit, the accessible names and captions, at the
// scale the test is run with (QT_SCALE_FACTOR).

#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include "UiTest.h"

using namespace korvel;
using korvel::test::OpenWindow;

namespace {

QString qName(Ctl c) { return QString::fromLatin1(controlName(c).data(), controlName(c).size()); }
QString qCaption(Ctl c) {
    return QString::fromUtf8(controlSpec(c).initialText.data(), controlSpec(c).initialText.size());
}

const char* widgetClass(Kind kind) {
    switch (kind) {
        case Kind::GroupBox:
            return "QGroupBox";
        case Kind::Label:
            return "QLabel";
        case Kind::TextBox:
            return "QLineEdit";
        case Kind::DropDownList:
            return "QComboBox";
        case Kind::PushButton:
            return "QPushButton";
        case Kind::Form:
            break;
    }
    return "QWidget";
}

}  // namespace

class LayoutTest : public korvel::test::WindowTest {
    Q_OBJECT

private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void windowIsFixedAtTheClientSizeWithCaptionAndIcon() {
        QWidget& window = *w_->window;
        QCOMPARE(window.objectName(), QStringLiteral("frmKorvel"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Korvel;) Video Setup"));
        QCOMPARE(window.size(), QSize(537, 250));
        QCOMPARE(window.minimumSize(), QSize(537, 250));
        QCOMPARE(window.maximumSize(), QSize(537, 250));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
        // Crisp at twice the scale too.
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(64, 64)));

        const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                 ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                 : 1.0;
        QCOMPARE(window.devicePixelRatio(), scale);
    }

    // A few lengths worked out by hand, so the conversion itself is checked too.
    void knownPixelSizes() {
        QCOMPARE(w_->find("Frame3")->geometry(), QRect(8, 8, 209, 233));
        QCOMPARE(w_->find("txtVertOff")->height(), 25);
        QCOMPARE(w_->find("txtVSizeErr")->height(), 25);
        QCOMPARE(w_->find("txtMovieLength")->height(), 21);
        QCOMPARE(w_->find("txtVideoBitrate")->height(), 21);
        QCOMPARE(w_->find("Label10")->geometry(), QRect(72, 208, 73, 17));
    }

    void control_data() {
        QTest::addColumn<int>("control");
        for (const ControlSpec& c : controlTable()) {
            if (c.kind != Kind::Form) QTest::newRow(c.name.data()) << static_cast<int>(c.id);
        }
    }
    void control() {
        QFETCH(int, control);
        const ControlSpec& c = controlSpec(static_cast<Ctl>(control));
        const QList<QWidget*> named = w_->window->findChildren<QWidget*>(qName(c.id));
        QCOMPARE(named.size(), 1);
        QWidget* widget = named.front();

        QVERIFY2(widget->inherits(widgetClass(c.kind)), widget->metaObject()->className());
        QCOMPARE(widget->parentWidget()->objectName(), qName(c.container));
        const Pixels at = toPixels(c.twips);
        QCOMPARE(widget->geometry(), QRect(at.left, at.top, at.width, at.height));
        QVERIFY(widget->parentWidget()->rect().contains(widget->geometry()));
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());

        if (auto* box = qobject_cast<QGroupBox*>(widget)) QCOMPARE(box->title(), qCaption(c.id));
        if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), qCaption(c.id));
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), qCaption(c.id));
            QVERIFY(!button->autoDefault());
            QVERIFY(!button->isDefault());
        }
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(box->isReadOnly(), c.readOnly);
            QCOMPARE(box->maxLength(), 32767);  // Qt's own, the longest there is
        }
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(list->isEditable(), c.style == ListStyle::FreeText);
            if (list->isEditable()) {
                QCOMPARE(list->insertPolicy(), QComboBox::NoInsert);
                QCOMPARE(list->completer(), nullptr);
            }
        }
        const bool takesFocus =
            c.kind == Kind::TextBox || c.kind == Kind::DropDownList || c.kind == Kind::PushButton;
        QCOMPARE(widget->focusPolicy() != Qt::NoFocus, takesFocus);
    }

    // Only labels overlap other controls, and they are drawn beneath them.
    void overlapsAreLabelsBeneathControls() {
        int labelOverlaps = 0;
        for (const ControlSpec& a : controlTable()) {
            for (const ControlSpec& b : controlTable()) {
                if (a.id >= b.id || a.kind == Kind::Form || b.kind == Kind::Form) continue;
                if (a.container != b.container) continue;
                QWidget* wa = w_->find(a.name.data());
                QWidget* wb = w_->find(b.name.data());
                if (!wa->geometry().intersects(wb->geometry())) continue;
                const QString pair = qName(a.id) + " / " + qName(b.id);
                QVERIFY2((a.kind == Kind::Label) != (b.kind == Kind::Label), qPrintable(pair));
                QWidget* label = a.kind == Kind::Label ? wa : wb;
                QWidget* other = label == wa ? wb : wa;
                const QObjectList& stack = label->parentWidget()->children();  // bottom first
                QVERIFY2(stack.indexOf(label) < stack.indexOf(other), qPrintable(pair));
                ++labelOverlaps;
            }
        }
        QCOMPARE(labelOverlaps, 17);
    }

    void fontIsTheChosenOne() {
        const QFontInfo info(w_->find("Label13")->font());
        QCOMPARE(info.family(), QString::fromLatin1(window::kFontFamily));
        QCOMPARE(info.pixelSize(), window::kFontPixelSize);
    }

    void textsFitTheirControls() {
        for (auto* label : w_->window->findChildren<QLabel*>()) {
            const QFontMetrics fm(label->font());
            QCOMPARE(label->height(), 17);
            QVERIFY2(fm.height() <= label->height(), qPrintable(label->objectName()));
            QVERIFY2(fm.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
        for (auto* button : w_->window->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QFontMetrics fm(button->font());
            QVERIFY2(fm.horizontalAdvance(button->text()) <= contents.width(),
                     qPrintable(button->objectName()));
            QVERIFY2(fm.height() <= contents.height(), qPrintable(button->objectName()));
        }
        for (auto* list : w_->window->findChildren<QComboBox*>()) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            option.editable = list->isEditable();
            const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                              QStyle::SC_ComboBoxEditField, list);
            const QFontMetrics fm(list->font());
            QVERIFY(list->count() > 0);
            for (int i = 0; i < list->count(); ++i) {
                QVERIFY2(fm.horizontalAdvance(list->itemText(i)) <= field.width(),
                         qPrintable(list->objectName() + ": " + list->itemText(i)));
            }
            QVERIFY2(fm.height() <= field.height(), qPrintable(list->objectName()));
            if (QLineEdit* edit = list->lineEdit()) {
                QVERIFY(edit->minimumSizeHint().height() <= edit->height());
            }
        }
        for (auto* box : w_->window->findChildren<QLineEdit*>()) {
            if (qobject_cast<QComboBox*>(box->parentWidget())) continue;
            QVERIFY2(box->minimumSizeHint().height() <= box->height(), qPrintable(box->objectName()));
        }
        for (auto* frame : w_->window->findChildren<QGroupBox*>()) {
            QVERIFY(QFontMetrics(frame->font()).horizontalAdvance(frame->title()) < frame->width() / 2);
        }
    }

    // Each caption labels the control it names, so a screen reader says it; text boxes and
    // buttons carry names of their own as well.
    void accessibleCaptionsAndNames_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("name");
        auto row = [](const char* control, QStringList labels, const char* name) {
            QTest::newRow(control) << QString::fromLatin1(control) << labels << QString::fromLatin1(name);
        };
        row("txtMovieLength", {"Label11"}, "Movie Length (minutes)");
        row("txtFileSize", {"Label9"}, "Resulting File Length (MB)");
        row("cboAudioBitrate", {"Label4"}, "Audio Bitrate (Kbit/s)");
        row("txtVideoBitrate", {"Label12", "Label8"}, "Video Bitrate (Kbit/s)");
        row("txtVideoBitrateSceneDetect", {"Label10"}, "Scene Detect Bitrate (Kbit/s)");
        row("cboHorizSize", {"Label1"}, "Horizontal Size");
        row("txtVertSize", {"Label2"}, "Set Vertical Size");
        row("txtVSizeErr", {"Label13"}, "Aspect Error (pixels)");
        row("cboMovieFormat", {"Label3"}, "Choose Movie Format");
        row("txtVSizeErrCrop", {"Label14"}, "V Size Error (pixels)");
        row("txtHorizCrop", {"Label5"}, "Horizontal Size");
        row("txtVertCrop", {"Label6"}, "Vertical Size");
        row("txtVertOff", {"Label7"}, "Vertical Offset");
        row("cmdCalcLength", {}, "Calculate movie length");
        row("cmdCalcFileSize", {}, "Calculate file size");
        row("cmdCalcVideoBitrate", {}, "Calculate video bitrate");
    }
    void accessibleCaptionsAndNames() {
        QFETCH(QString, control);
        QFETCH(QStringList, labels);
        QFETCH(QString, name);
        QWidget* widget = w_->find(control.toLatin1().constData());
        QCOMPARE(widget->accessibleName(), name);

        QAccessibleInterface* self = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(self);
        QStringList labelledBy;
        for (const auto& [other, relation] : self->relations(QAccessible::Label)) {
            // The group box around a control is reported as a label too.
            if (qobject_cast<QLabel*>(other->object())) labelledBy << other->object()->objectName();
        }
        labelledBy.sort();
        QCOMPARE(labelledBy, labels);
        for (const QString& label : labels) {
            QCOMPARE(w_->find<QLabel>(label.toLatin1().constData())->buddy(), widget);
        }
    }
};

KORVEL_UI_TEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
