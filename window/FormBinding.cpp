#include "window/FormBinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <utility>

#include "calc/Bitrate.h"

namespace korvel::window {
namespace {

QString qText(const std::string& text) { return QString::fromStdString(text); }

// Sets a line edit's text as the model holds it. When the text comes back unchanged
// (a combo box rewrites its line edit on a change of index), the cursor and the
// selection stay where the user left them.
void keepingCursor(QLineEdit& edit, const auto& change) {
    const QString before = edit.text();
    const int cursor = edit.cursorPosition();
    const int selectionStart = edit.selectionStart();
    const int selectionLength = edit.selectionLength();
    change();
    if (edit.text() != before) return;
    if (selectionLength == 0) {
        edit.setCursorPosition(cursor);
    } else if (cursor == selectionStart) {
        edit.setSelection(selectionStart + selectionLength, -selectionLength);
    } else {
        edit.setSelection(selectionStart, selectionLength);
    }
}

}  // namespace

FormBinding::FormBinding(FormModel& form, const ControlWidgets& controls, FailureView& failures)
    : form_(form), controls_(controls), failures_(failures) {
    form_.setObserver([this](Ctl c, Write) {
        written_.push_back(c);
        show(c);
    });
    form_.setReporter([this](const Failure& failure) {
        if (forwarding_) {
            failure_ = failure;
        } else {
            failures_.report(failure, Reporting::AfterAction);
        }
    });
    connectUserActions();
}

FormBinding::~FormBinding() {
    form_.setObserver({});
    form_.setReporter({});
}

void FormBinding::showAll() {
    for (const ControlDef& control : controlTable()) {
        if (control.kind == Kind::TextBox || control.kind == Kind::DropDownList) show(control.id);
    }
}

template <class Action>
void FormBinding::forward(Reporting when, Action&& action) {
    forwarding_ = true;
    written_.clear();
    action();
    forwarding_ = false;
    // A box written, even by an action that fails at a later step, no longer holds what its
    // mark was about.
    for (Ctl c : written_) failures_.unmark(c);
    for (Ctl c : written_) {
        const QString about = caution(c);
        if (!about.isEmpty()) failures_.mark(c, about);
    }
    written_.clear();
    if (const std::optional<Failure> failure = std::exchange(failure_, std::nullopt))
        failures_.report(*failure, when);
}

QString FormBinding::caution(Ctl c) const {
    if (c != Ctl::cboAudioBitrate || GetAudioBitrate(form_) != 0) return {};
    const std::string& text = form_.GetText(c);
    if (text.empty()) return QStringLiteral("The audio bitrate is empty, so it counts as 0 kbit/s.");
    return QString::fromStdString("The audio bitrate " + korvel::quoted(text) +
                                  " is not one of the listed bitrates, so it counts as 0 kbit/s.");
}

void FormBinding::connectUserActions() {
    for (const ControlDef& control : controlTable()) {
        const Ctl c = control.id;
        if (auto* box = controls_.as<QLineEdit>(c); box && !control.readOnly) {
            connect(box, &QLineEdit::textEdited, this, [this, c](const QString& text) {
                forward(Reporting::WhileTyping, [&] { return form_.editText(c, text.toStdString()); });
            });
        } else if (auto* list = controls_.as<QComboBox>(c)) {
            connect(list, &QComboBox::activated, this, [this, c](int position) {
                forward(Reporting::AfterAction,
                        [&] { return form_.pickEntry(c, static_cast<std::int16_t>(position)); });
            });
            if (QLineEdit* edit = list->lineEdit()) {
                connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& text) {
                    forward(Reporting::WhileTyping,
                            [&] { return form_.typeListText(c, text.toStdString()); });
                });
            }
        } else if (auto* button = controls_.as<QPushButton>(c)) {
            connect(button, &QPushButton::clicked, this,
                    [this, c] { forward(Reporting::AfterAction, [&] { return form_.pressButton(c); }); });
        }
    }
}

void FormBinding::show(Ctl c) {
    if (auto* box = controls_.as<QLineEdit>(c)) {
        showText(*box, c);
    } else if (auto* list = controls_.as<QComboBox>(c)) {
        showList(*list, c);
    }
}

void FormBinding::showText(QLineEdit& box, Ctl c) {
    const QString text = qText(form_.GetText(c));
    // Only on a difference, so the box being typed in keeps its cursor.
    if (box.text() != text) box.setText(text);
}

void FormBinding::showList(QComboBox& list, Ctl c) {
    const auto entries = form_.Entries(c);
    // Entries are only ever appended.
    for (auto i = static_cast<std::size_t>(list.count()); i < entries.size(); ++i) {
        list.addItem(qText(entries[i]));
    }
    const int index = form_.GetListIndex(c);
    QLineEdit* edit = list.lineEdit();
    if (!edit) {
        // Adding to an empty list selects its first entry unasked; the model's index wins.
        if (list.currentIndex() != index) list.setCurrentIndex(index);
        return;
    }
    const QString text = qText(form_.GetText(c));
    keepingCursor(*edit, [&] {
        if (list.currentIndex() != index) list.setCurrentIndex(index);
        if (edit->text() != text) edit->setText(text);
    });
}

}  // namespace korvel::window
