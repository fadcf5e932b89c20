#include "window/FormWindow.h"

#include <QEvent>
#include <QKeySequence>
#include <QShortcut>

namespace korvel::window {

FormWindow::FormWindow(FormModel& form, QWidget* parent)
    : QWidget(parent), controls_(*this), failures_(*this, controls_), binding_(form, controls_, failures_) {
    const ControlDef& self = controlDef(Ctl::frmKorvel);
    setObjectName(QString::fromUtf8(self.name.data(), static_cast<qsizetype>(self.name.size())));
    setWindowTitle(QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
    // The controls keep the places of the table, so the window keeps its size.
    const Rect client = toPixels(self.twips);
    setFixedSize(client.width, client.height);
    // Nor does it offer to maximise, where the window manager honours the hint (X11, Qt's own
    // Wayland decorations): the hints Qt gives a window, less that one.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    binding_.showAll();
    controls_.widget(focusOrder().front()).setFocus(Qt::OtherFocusReason);

    // Closing from the keyboard also where no window manager offers a key for it.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
}

void FormWindow::moveEvent(QMoveEvent* event) {
    failures_.placeReason();  // a window of its own, it does not move with this one
    QWidget::moveEvent(event);
}

}  // namespace korvel::window
