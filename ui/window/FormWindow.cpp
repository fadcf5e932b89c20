#include "ui/window/FormWindow.h"

#include <QKeySequence>
#include <QShortcut>

#include "ui/window/Application.h"

namespace korvel::window {

FormWindow::FormWindow(FormModel& form, QWidget* parent)
    : QWidget(parent), controls_(*this), failures_(*this, controls_), binding_(form, controls_, failures_) {
    const ControlSpec& self = controlSpec(Ctl::frmKorvel);
    setObjectName(QString::fromUtf8(self.name.data(), static_cast<qsizetype>(self.name.size())));
    setWindowTitle(QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
    setWindowIcon(programIcon());
    // The controls keep the places of the table, so the window keeps its size.
    const Pixels client = toPixels(self.twips);
    setFixedSize(client.width, client.height);

    binding_.showAll();
    controls_.widget(focusOrder().front()).setFocus(Qt::OtherFocusReason);

    // Closing from the keyboard also where no window manager offers a key for it.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

}  // namespace korvel::window
