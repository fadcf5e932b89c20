#include "ui/window/FailureView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace korvel::window {
namespace {

const QColor kWarningTint(255, 224, 178);

}  // namespace

FailureView::FailureView(QWidget& window, const ControlWidgets& controls)
    : window_(window), controls_(controls), reason_(std::make_unique<QLabel>(&window, Qt::ToolTip)) {
    reason_->setObjectName(QStringLiteral("failureReason"));
    reason_->setTextFormat(Qt::PlainText);
    reason_->setAttribute(Qt::WA_ShowWithoutActivating);
    reason_->setForegroundRole(QPalette::ToolTipText);
    reason_->setBackgroundRole(QPalette::ToolTipBase);
    reason_->setAutoFillBackground(true);
    reason_->setFrameStyle(QFrame::Box | QFrame::Plain);
    reason_->setMargin(2);
    QObject::connect(qApp, &QApplication::focusChanged, reason_.get(), [this] { placeReason(); });
}

// Deleted before the window deletes its children, so no focus change reaches a view that is gone.
FailureView::~FailureView() = default;

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
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // Back to the window, also where no window manager hands the activation back.
    window_.activateWindow();
    if (!subject) return;
    QWidget& atFault = controls_.widget(*subject);
    atFault.setFocus(Qt::OtherFocusReason);
    // Ready to be typed over.
    if (auto* text = controls_.as<QLineEdit>(*subject)) text->selectAll();
}

void FailureView::mark(Ctl c, const QString& reason) {
    reasons_[static_cast<std::size_t>(c)] = reason;
    controls_.paint(c, kWarningTint);
    controls_.widget(c).setAccessibleDescription(reason);
    placeReason();
}

void FailureView::unmark(Ctl c) {
    if (!marked(c)) return;
    reasons_[static_cast<std::size_t>(c)].clear();
    controls_.paint(c);
    controls_.widget(c).setAccessibleDescription(QString());
    placeReason();
}

void FailureView::placeReason() {
    const QWidget* focus = QApplication::focusWidget();
    for (std::size_t i = 0; focus && i < reasons_.size(); ++i) {
        QWidget& w = controls_.widget(static_cast<Ctl>(i));
        // The focus may sit in a part of the control: the line edit of an editable list.
        if (reasons_[i].isEmpty() || (focus != &w && !w.isAncestorOf(focus))) continue;
        reason_->setText(reasons_[i]);
        reason_->adjustSize();
        reason_->move(w.mapToGlobal(QPoint(0, w.height() + 1)));
        reason_->show();
        return;
    }
    reason_->hide();
}

void FailureView::repaint() {
    for (std::size_t i = 0; i < reasons_.size(); ++i) {
        const auto c = static_cast<Ctl>(i);
        controls_.paint(c, marked(c) ? std::optional(kWarningTint) : std::nullopt);
    }
}

}  // namespace korvel::window
