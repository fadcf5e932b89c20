#include "window/ControlWidgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "window/Application.h"

namespace korvel::window {
namespace {

using enum Ctl;

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Which label is the caption of which control. "Normal" and "Scene Detect" stand under
// the two video-bitrate boxes, "Video Bitrate (Kbit/s)" above the first.
struct Caption {
    Ctl label;
    Ctl control;
};
constexpr std::array<Caption, 14> kCaptions{{
    {Label11, txtMovieLength},
    {Label9, txtFileSize},
    {Label4, cboAudioBitrate},
    {Label8, txtVideoBitrate},
    {Label12, txtVideoBitrate},
    {Label10, txtVideoBitrateSceneDetect},
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

// WCAG 2 contrast of two colours, from 1 (the same) to 21 (black on white).
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](float v) {
            return v <= 0.04045F ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor mix(const QColor& a, const QColor& b, double shareOfB) {
    const auto channel = [&](float x, float y) {
        return static_cast<float>((1 - shareOfB) * x + shareOfB * y);
    };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()));
}

// Text at less than this contrast to its background is hard to read (WCAG AA).
constexpr double kReadable = 4.5;

// The base of a marked box: the palette's base tinted towards orange, as far as its text stays
// readable on it, so light, dark and high-contrast themes all keep their text legible.
QColor markedBase(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor base = palette.color(group, QPalette::Base);
    const QColor text = palette.color(group, QPalette::Text);
    for (int percent = 35; percent > 0; percent -= 5) {
        const QColor tint = mix(base, QColor(255, 140, 0), percent / 100.0);
        if (contrast(tint, text) >= kReadable) return tint;
    }
    return base;
}

// The base of a result box: the window's colour, or where that is hardly different from the
// base of the boxes to type in (as in high-contrast themes), the base shaded away from the text or
// else towards it; the first of these that keeps the text readable.
QColor resultBase(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor base = palette.color(group, QPalette::Base);
    const QColor text = palette.color(group, QPalette::Text);
    const QColor awayFromText = contrast(text, Qt::black) < contrast(text, Qt::white) ? Qt::white : Qt::black;
    for (const QColor& look :
         {palette.color(group, QPalette::Window), mix(base, awayFromText, 0.15), mix(base, text, 0.12)}) {
        if (contrast(look, base) >= 1.1 && contrast(look, text) >= kReadable) return look;
    }
    return base;
}

QWidget* create(const ControlDef& control, QWidget& parent) {
    const QString caption = qText(control.initialText);
    switch (control.kind) {
        case Kind::GroupBox: {
            // The layout was fitted to this font: the desktop's font must not replace it, in any
            // property, so every property is set here for the controls in the group to inherit.
            auto* group = new QGroupBox(caption, &parent);
            QFont font = captionFont();
            font.setResolveMask(QFont::AllPropertiesResolved);
            group->setFont(font);
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
    for (const ControlDef& control : controlTable()) {
        if (control.kind == Kind::Form) continue;
        QWidget* w = create(control, widget(control.container));
        w->setObjectName(qText(control.name));
        const Rect at = toPixels(control.twips);
        w->setGeometry(at.left, at.top, at.width, at.height);
        widgets_[static_cast<std::size_t>(control.id)] = w;
    }

    for (const ControlDef& control : controlTable()) setColours(control.id, false);

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

void ControlWidgets::setColours(Ctl c, bool marked) const {
    const ControlDef& control = controlDef(c);
    if (control.kind != Kind::TextBox && control.kind != Kind::DropDownList) return;
    QWidget& box = widget(c);
    // From the window's palette: within a change of colours it is the first to be new.
    const QPalette& window = widget(frmKorvel).palette();
    // The open list of a marked list is drawn like any list: only the box takes the tint. The
    // popup is built when first needed, so it is built here only for a mark.
    if (auto* list = as<QComboBox>(c); list && (marked || list->findChild<QAbstractItemView*>())) {
        QPalette plain = window;
        plain.setResolveMask(~QPalette::ResolveMask{0});  // every role its own, none from the box
        list->view()->setPalette(plain);
    }
    const bool result = control.kind == Kind::TextBox && control.readOnly;
    if (!marked && !result) {
        box.setPalette(QPalette());
        return;
    }
    QPalette look;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        look.setColor(group, QPalette::Base, marked ? markedBase(window, group) : resultBase(window, group));
    }
    box.setPalette(look);
}

}  // namespace korvel::window
