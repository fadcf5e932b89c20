#include "ui/window/FailureView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>

namespace korvel::window {
namespace {

const QColor kWarningTint(255, 224, 178);

}  // namespace

FailureView::FailureView(QWidget& window, const ControlWidgets& controls)
    : window_(window), controls_(controls) {}

void FailureView::report(const Failure& failure, bool whileTyping) {
    const QString sentence = QString::fromUtf8(failure.what());
    const auto subject = failure.subject();
    // While typing, a text on its way to a number is no reason for a dialog; a failure
    // that names no box has nowhere to be marked, so it is shown like any other.
    if (whileTyping && subject) {
        mark(*subject, sentence);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kFailureTitle), sentence, QMessageBox::Ok,
                    &window_);
    box.exec();
    // Back to the window, also where no window manager hands the activation back.
    window_.activateWindow();
    if (!subject) return;
    QWidget& atFault = controls_.widget(*subject);
    atFault.setFocus(Qt::OtherFocusReason);
    // Ready to be typed over.
    if (auto* text = controls_.as<QLineEdit>(*subject)) text->selectAll();
}

void FailureView::mark(Ctl c, const QString& sentence) {
    QWidget& w = controls_.widget(c);
    QPalette tinted = w.palette();
    tinted.setColor(QPalette::Base, kWarningTint);
    w.setPalette(tinted);
    w.setToolTip(sentence);
    w.setAccessibleDescription(sentence);
    marked_[static_cast<std::size_t>(c)] = true;
}

void FailureView::unmark(Ctl c) {
    if (!marked(c)) return;
    QWidget& w = controls_.widget(c);
    w.setPalette(QPalette());
    w.setToolTip(QString());
    w.setAccessibleDescription(QString());
    marked_[static_cast<std::size_t>(c)] = false;
}

}  // namespace korvel::window
