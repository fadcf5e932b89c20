#pragma once

// Binds the widgets to the form model both ways. What the user does (an edit, a pick, a
// keystroke in the audio list, a press) is forwarded as the model's user action, from
// signals that only the user raises; what the model writes is shown at once through its
// observer. So the model's own writes never echo back as actions.

#include <vector>

#include "ui/model/FormModel.h"
#include "ui/window/ControlWidgets.h"
#include "ui/window/FailureView.h"

class QComboBox;
class QLineEdit;

namespace korvel::window {

class FormBinding {
public:
    FormBinding(FormModel& form, const ControlWidgets& controls, FailureView& failures);
    ~FormBinding();
    FormBinding(const FormBinding&) = delete;
    FormBinding& operator=(const FormBinding&) = delete;

    // Shows every text, entry and selection the model holds now.
    void showAll();

private:
    void connectUserActions();
    void show(Ctl c);
    void showText(QLineEdit& box, Ctl c);
    void showList(QComboBox& list, Ctl c);

    // Runs one user action; `whileTyping` tells the failure view how to report.
    template <class Action>
    void forward(bool whileTyping, Action&& action);

    FormModel& form_;
    const ControlWidgets& controls_;
    FailureView& failures_;
    bool typing_ = false;
    std::vector<Ctl> written_;  // by the action now running
};

}  // namespace korvel::window
