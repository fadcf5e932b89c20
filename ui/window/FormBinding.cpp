#include "ui/window/FormBinding.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>

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
    form_.setReporter([this](const Failure& failure) { failures_.report(failure, typing_); });
    connectUserActions();
}

FormBinding::~FormBinding() {
    form_.setObserver({});
    form_.setReporter({});
}

void FormBinding::showAll() {
    for (const ControlSpec& control : controlTable()) {
        if (control.kind == Kind::TextBox || control.kind == Kind::DropDownList) show(control.id);
    }
}

template <class Action>
void FormBinding::forward(bool whileTyping, Action&& action) {
    typing_ = whileTyping;
    written_.clear();
    const bool ok = action();
    typing_ = false;
    // A box written without failure holds a valid text (or none) again.
    if (ok) {
        for (Ctl c : written_) failures_.unmark(c);
    }
    // A state that is no failure can still surprise: a typed audio bitrate counts as 0.
    for (Ctl c : written_) {
        const std::string caution = Caution(form_, c);
        if (!caution.empty()) failures_.mark(c, QString::fromStdString(caution));
    }
    written_.clear();
}

void FormBinding::connectUserActions() {
    for (const ControlSpec& control : controlTable()) {
        const Ctl c = control.id;
        if (auto* box = controls_.as<QLineEdit>(c); box && !control.readOnly) {
            QObject::connect(box, &QLineEdit::textEdited, box, [this, c](const QString& text) {
                forward(true, [&] { return form_.editText(c, text.toStdString()); });
            });
        } else if (auto* list = controls_.as<QComboBox>(c)) {
            QObject::connect(list, &QComboBox::activated, list, [this, c](int position) {
                forward(false, [&] { return form_.pickEntry(c, static_cast<std::int16_t>(position)); });
            });
            if (QLineEdit* edit = list->lineEdit()) {
                QObject::connect(edit, &QLineEdit::textEdited, list, [this, c](const QString& text) {
                    forward(true, [&] { return form_.typeListText(c, text.toStdString()); });
                });
            }
        } else if (auto* button = controls_.as<QPushButton>(c)) {
            QObject::connect(button, &QPushButton::clicked, button,
                             [this, c] { forward(false, [&] { return form_.pressButton(c); }); });
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
