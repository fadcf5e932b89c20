#pragma once

// The window frmKorvel: a thin view over the form model. It holds the widgets, the
// binding and the failure view; every text and selection lives in the model.

#include <QWidget>

#include "form/FormModel.h"
#include "window/ControlWidgets.h"
#include "window/FailureView.h"
#include "window/FormBinding.h"

namespace korvel::window {

class FormWindow : public QWidget {
    // So that assistive technology can tell the window by its class name.
    Q_OBJECT

public:
    // Shows what `form` holds now and everything it takes on later; `form` must outlive
    // the window.
    explicit FormWindow(FormModel& form, QWidget* parent = nullptr);

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    ControlWidgets controls_;
    FailureView failures_;
    FormBinding binding_;
};

}  // namespace korvel::window
