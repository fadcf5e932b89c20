#pragma once

// Binds the widgets to the form model both ways. What the user does (an edit, a pick, a
// keystroke in the audio list, a press) is forwarded as the model's user action, from
// signals that only the user raises (or an assistive tool writing for the user, which edits
// as typing does); what the model writes is shown at once through its observer. So the
// model's own writes never echo back as actions.

#include <QObject>

#include <optional>
#include <vector>

#include "form/FormModel.h"
#include "window/ControlWidgets.h"
#include "window/FailureView.h"

class QComboBox;
class QLineEdit;

namespace korvel::window {

// A QObject so that its connections end with it.
class FormBinding : public QObject {
public:
    FormBinding(FormModel& form, const ControlWidgets& controls, FailureView& failures);
    ~FormBinding() override;

    // Shows every text, entry and selection the model holds now.
    void showAll();

private:
    void connectUserActions();
    void show(Ctl c);
    void showText(QLineEdit& box, Ctl c);
    void showList(QComboBox& list, Ctl c);

    // Runs one user action; a failure in it is reported `when`.
    template <class Action>
    void forward(Reporting when, Action&& action);
    // What the user should know of a state that is no failure, or nothing.
    QString caution(Ctl c) const;

    FormModel& form_;
    const ControlWidgets& controls_;
    FailureView& failures_;
    bool forwarding_ = false;
    std::vector<Ctl> written_;        // by the action now running
    std::optional<Failure> failure_;  // of the action now running, reported when it has ended
};

}  // namespace korvel::window
