#include "form/FormModel.h"

#include <optional>
#include <stdexcept>

namespace korvel {
namespace {

void require(bool condition, const char* what) {
    if (!condition) throw std::logic_error(what);
}

bool isTextBox(Ctl c) { return controlDef(c).kind == Kind::TextBox; }
bool isList(Ctl c) { return controlDef(c).kind == Kind::DropDownList; }

}  // namespace

FormModel::FormModel() {
    for (const auto& control : controlTable()) {
        if (control.kind == Kind::TextBox || control.kind == Kind::DropDownList) {
            state(control.id).text = control.initialText;
        }
    }
}

const std::string& FormModel::GetText(Ctl c) const {
    require(isTextBox(c) || isList(c), "GetText needs a text box or a drop-down list");
    return state(c).text;
}

void FormModel::SetText(Ctl textBox, std::string_view text) {
    require(isTextBox(textBox), "SetText needs a text box");
    State& s = state(textBox);
    s.text = text;
    notify(textBox, Write::Text);
    raise(textBox, Event::Change);
}

std::int16_t FormModel::GetListIndex(Ctl list) const {
    require(isList(list), "GetListIndex needs a drop-down list");
    return state(list).listIndex;
}

void FormModel::SetListIndex(Ctl list, std::int16_t position) {
    require(isList(list), "SetListIndex needs a drop-down list");
    State& s = state(list);
    require(position >= 0 && static_cast<std::size_t>(position) < s.entries.size(),
            "SetListIndex needs the position of an entry");
    s.listIndex = position;
    s.text = s.entries[static_cast<std::size_t>(position)];
    notify(list, Write::ListIndex);
    raise(list, Event::Click);
}

void FormModel::AddEntry(Ctl list, std::string_view text) {
    require(isList(list), "AddEntry needs a drop-down list");
    State& s = state(list);
    require(s.entries.size() < 32767, "a list holds at most 32767 entries");
    s.entries.emplace_back(text);
    notify(list, Write::Entries);
}

std::span<const std::string> FormModel::Entries(Ctl list) const {
    require(isList(list), "Entries needs a drop-down list");
    return state(list).entries;
}

void FormModel::on(Ctl c, Event e, Handler handler) {
    handlers_[static_cast<std::size_t>(c)][static_cast<std::size_t>(e)] = std::move(handler);
}

void FormModel::raise(Ctl c, Event e) {
    const Handler& handler = handlers_[static_cast<std::size_t>(c)][static_cast<std::size_t>(e)];
    if (handler) handler();
}

void FormModel::notify(Ctl c, Write w) {
    if (observer_) observer_(c, w);
}

template <class Action>
bool FormModel::act(Action&& action) {
    if (busy_) return false;
    busy_ = true;
    std::optional<Failure> failure;
    // Whatever a handler throws ends the action here: reported like a failure rather than
    // ending the program, and never leaving the form busy.
    try {
        action();
    } catch (const Failure& f) {
        failure = f;
    } catch (const std::exception& e) {
        failure.emplace(FailureKind::Internal, e.what());
    } catch (...) {
        failure.emplace(FailureKind::Internal, "unknown error");
    }
    busy_ = false;  // the reporter may show a dialog that lets the user act again
    if (failure && reporter_) reporter_(*failure);
    return !failure;
}

bool FormModel::load() {
    return act([&] { raise(Ctl::frmKorvel, Event::Load); });
}

bool FormModel::pickEntry(Ctl list, std::int16_t position) {
    if (!isList(list) || position < 0 || static_cast<std::size_t>(position) >= state(list).entries.size()) {
        return false;
    }
    return act([&] { SetListIndex(list, position); });
}

bool FormModel::editText(Ctl textBox, std::string_view text) {
    if (!isTextBox(textBox) || controlDef(textBox).readOnly) return false;
    return act([&] { SetText(textBox, text); });
}

bool FormModel::typeListText(Ctl list, std::string_view text) {
    if (!isList(list) || controlDef(list).style != ListStyle::FreeText) return false;
    return act([&] {
        // Typing an entry's exact text selects that entry, so the value shown is the
        // value used; any other text leaves no entry selected. Typing raises no click.
        State& s = state(list);
        s.text = text;
        s.listIndex = -1;
        for (std::size_t i = 0; i < s.entries.size(); ++i) {
            if (s.entries[i] == text) {
                s.listIndex = static_cast<std::int16_t>(i);
                break;
            }
        }
        notify(list, Write::Text);
    });
}

bool FormModel::pressButton(Ctl button) {
    if (controlDef(button).kind != Kind::PushButton) return false;
    return act([&] { raise(button, Event::Click); });
}

}  // namespace korvel
