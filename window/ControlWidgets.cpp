#include "window/ControlWidgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QPainter>

#include <limits>
#include <string_view>

#include "window/Application.h"
#include "window/Colours.h"

namespace korvel::window {
namespace {

using enum Ctl;

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Which label is the caption of which control. "Normal" and "Scene Detect" stand under
// the two video-bitrate boxes, "Video Bitrate (Kbit/s)" above the first: that one is the first's
// caption, as "Normal" alone would say nothing of what the box holds. Nor would "Scene Detect" of
// the second, which a screen reader would say in place of its name: that box has its name alone.
struct Caption {
    Ctl label;
    Ctl control;
};
constexpr std::array<Caption, 12> kCaptions{{
    {Label11, txtMovieLength},
    {Label9, txtFileSize},
    {Label4, cboAudioBitrate},
    {Label8, txtVideoBitrate},
    {Label1, cboHorizSize},
    {Label2, txtVertSize},
    {Label13, txtVSizeErr},
    {Label3, cboMovieFormat},
    {Label14, txtVSizeErrCrop},
    {Label5, txtHorizCrop},
    {Label6, txtVertCrop},
    {Label7, txtVertOff},
}};

// Names a screen reader says where the caption alone would be ambiguous or, for the
// three buttons that all read "<-- Calc", say nothing of what they do.
struct SpokenName {
    Ctl control;
    const char* name;
};
constexpr std::array<SpokenName, 5> kSpokenNames{{
    {txtVideoBitrate, "Video Bitrate (Kbit/s)"},
    {txtVideoBitrateSceneDetect, "Scene Detect Bitrate (Kbit/s)"},
    {cmdCalcLength, "Calculate movie length"},
    {cmdCalcFileSize, "Calculate file size"},
    {cmdCalcVideoBitrate, "Calculate video bitrate"},
}};

// Texts have no length limit; Qt's default of 32767 would cut a longer paste without a word.
constexpr int kLongestText = std::numeric_limits<int>::max();

// The box's edge, over the style's, and a frame inside it for a mark that its fill cannot show.
// It takes no clicks.
class Outline : public QWidget {
public:
    explicit Outline(QWidget& box) : QWidget(&box) {
        setObjectName(QStringLiteral("markOutline"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // The looks by colour group, in QPalette's order: the window's colours change as it goes inactive.
    void draw(const std::array<BoxLook, QPalette::NColorGroups>& looks) {
        looks_ = looks;
        setGeometry(parentWidget()->rect());
        setVisible(looks[QPalette::Active].edge.isValid() || looks[QPalette::Active].outline.isValid());
        update();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QRectF box(rect());
        const BoxLook& look = looks_[palette().currentColorGroup()];
        if (look.edge.isValid()) {
            painter.setPen(QPen(look.edge, 1));
            painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        if (look.outline.isValid()) {
            painter.setPen(QPen(look.outline, 2));
            painter.drawRect(box.adjusted(1, 1, -1, -1));
        }
    }

private:
    std::array<BoxLook, QPalette::NColorGroups> looks_;
};

BoxPalette boxPalette(const QPalette& palette, QPalette::ColorGroup group) {
    return {palette.color(group, QPalette::Base), palette.color(group, QPalette::Text),
            palette.color(group, QPalette::Window)};
}

QWidget* create(const ControlDef& control, QWidget& parent) {
    const QString caption = qText(control.initialText);
    switch (control.kind) {
        case Kind::GroupBox: {
            // The layout was fitted to this font: the desktop's font must not replace it, in any
            // property, so every property is set here for the controls in the group to inherit.
            auto* group = new QGroupBox(&parent);
            QFont font = captionFont();
            font.setResolveMask(QFont::AllPropertiesResolved);
            group->setFont(font);
            // Titled only now: the title is measured at once, and in the form's (the desktop's) font
            // it would load that face as well.
            group->setTitle(caption);
            return group;
        }
        case Kind::Label:
            return new QLabel(caption, &parent);
        case Kind::TextBox: {
            auto* box = new QLineEdit(&parent);
            box->setReadOnly(control.readOnly);
            box->setMaxLength(kLongestText);
            return box;
        }
        case Kind::DropDownList: {
            auto* list = new QComboBox(&parent);
            if (control.style == ListStyle::FreeText) {
                // Typed text stays as typed: never completed inline, never added as an entry.
                // setEditable() would also build the popup list at start-up; this way it is
                // built when first opened.
                list->setLineEdit(new QLineEdit(list));
                list->setInsertPolicy(QComboBox::NoInsert);
                list->setCompleter(nullptr);
                list->lineEdit()->setMaxLength(kLongestText);
            }
            return list;
        }
        case Kind::PushButton: {
            auto* button = new QPushButton(caption, &parent);
            // Enter and Escape press no button.
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case Kind::Form:
            break;
    }
    return nullptr;
}

}  // namespace

ControlWidgets::ControlWidgets(QWidget& form) {
    widgets_[static_cast<std::size_t>(frmKorvel)] = &form;
    // Qt lays out a new line edit's text in the application's font before the box takes its own:
    // built in the desktop's font, the boxes would load that face as well, a quarter megabyte for
    // nothing. So the window's font is the application's while they are built; the desktop's is
    // back before the reason label and the dialogs are made. QGuiApplication's setter keeps the
    // desktop's fonts for single kinds of widget, which QApplication's would drop.
    const QFont desktopFont = QGuiApplication::font();
    QGuiApplication::setFont(captionFont());
    for (const ControlDef& control : controlTable()) {
        if (control.kind == Kind::Form) continue;
        QWidget* w = create(control, widget(control.container));
        w->setObjectName(qText(control.name));
        const Rect at = toPixels(control.twips);
        w->setGeometry(at.left, at.top, at.width, at.height);
        widgets_[static_cast<std::size_t>(control.id)] = w;
    }
    QGuiApplication::setFont(desktopFont);

    for (const ControlDef& control : controlTable()) setColours(control.id, Marking::Plain);

    // Labels reach into the controls below them; the controls are drawn over them.
    for (const ControlDef& control : controlTable()) {
        if (control.kind == Kind::Label) widget(control.id).lower();
    }

    for (const Caption& caption : kCaptions) {
        as<QLabel>(caption.label)->setBuddy(&widget(caption.control));
    }
    for (const Caption& caption : kCaptions) {
        widget(caption.control).setAccessibleName(as<QLabel>(caption.label)->text());
    }
    for (const SpokenName& spoken : kSpokenNames) {
        widget(spoken.control).setAccessibleName(QString::fromLatin1(spoken.name));
    }
    // The text part of an editable list holds the focus while one types: it is named alike.
    for (const ControlDef& control : controlTable()) {
        auto* list = as<QComboBox>(control.id);
        if (list && list->lineEdit()) list->lineEdit()->setAccessibleName(list->accessibleName());
    }

    // The chain is a ring: past the last control Tab wraps round to the first.
    const auto& order = focusOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(&widget(order[i]), &widget(order[i + 1]));
    }
}

void ControlWidgets::setColours(Ctl c, Marking marking) const {
    const ControlDef& control = controlDef(c);
    if (control.kind != Kind::TextBox && control.kind != Kind::DropDownList) return;
    QWidget& box = widget(c);
    // From the window's palette: within a change of colours it is the first to be new.
    const QPalette& window = widget(frmKorvel).palette();
    const bool marked = marking == Marking::Marked;
    // The open list of a marked list is drawn like any list: only the box takes the tint. The
    // popup is built when first needed, so it is built here only for a mark.
    if (auto* list = as<QComboBox>(c); list && (marked || list->findChild<QAbstractItemView*>())) {
        QPalette plain = window;
        plain.setResolveMask(~QPalette::ResolveMask{0});  // every role its own, none from the box
        list->view()->setPalette(plain);
    }
    const BoxRole role = control.kind == Kind::TextBox && control.readOnly ? BoxRole::Result : BoxRole::Input;
    std::array<BoxLook, QPalette::NColorGroups> looks;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        looks[group] = boxLook(boxPalette(window, group), role, marking);
    const BoxLook& look = looks[QPalette::Active];
    if (auto* text = as<QLineEdit>(c)) text->setFrame(look.framed);
    auto* outline = dynamic_cast<Outline*>(
        box.findChild<QWidget*>(QStringLiteral("markOutline"), Qt::FindDirectChildrenOnly));
    if ((look.edge.isValid() || look.outline.isValid()) && !outline) outline = new Outline(box);
    if (outline) outline->draw(looks);
    if (!marked && role == BoxRole::Input) {
        box.setPalette(QPalette());
        return;
    }
    QPalette colours;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Base, looks[group].base);
    box.setPalette(colours);
}

}  // namespace korvel::window
