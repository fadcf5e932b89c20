#include "ui/window/ControlWidgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>
#include <string_view>

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

QWidget* create(const ControlSpec& control, QWidget& parent) {
    const QString caption = qText(control.initialText);
    switch (control.kind) {
        case Kind::GroupBox:
            return new QGroupBox(caption, &parent);
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
    for (const ControlSpec& control : controlTable()) {
        if (control.kind == Kind::Form) continue;
        QWidget* w = create(control, widget(control.container));
        w->setObjectName(qText(control.name));
        const Pixels at = toPixels(control.twips);
        w->setGeometry(at.left, at.top, at.width, at.height);
        widgets_[static_cast<std::size_t>(control.id)] = w;
    }

    for (const ControlSpec& control : controlTable()) paint(control.id);

    // Labels reach into the controls below them; the controls are drawn over them.
    for (const ControlSpec& control : controlTable()) {
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

    // The chain is a ring: past the last control Tab wraps round to the first.
    const auto& order = focusOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(&widget(order[i]), &widget(order[i + 1]));
    }
}

void ControlWidgets::paint(Ctl c, std::optional<QColor> tint) const {
    const ControlSpec& control = controlSpec(c);
    if (control.kind != Kind::TextBox && control.kind != Kind::DropDownList) return;
    QWidget& w = widget(c);
    const bool result = control.kind == Kind::TextBox && control.readOnly;
    if (!tint && !result) {
        w.setPalette(QPalette());
        return;
    }
    // From the window's palette: within a change of colours it is the first to be new.
    const QPalette& window = widget(frmKorvel).palette();
    QPalette look;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        look.setColor(group, QPalette::Base, tint.value_or(window.color(group, QPalette::Window)));
    }
    w.setPalette(look);
}

}  // namespace korvel::window
