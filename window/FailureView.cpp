#include "window/FailureView.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>

namespace korvel::window {
namespace {

// Widens the dialog so that a window manager has room for its whole title, which it draws
// beside its own buttons in a font of its own.
void makeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 5 / 4 + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(),
                  0, 1, grid->columnCount());
}

}  // namespace

FailureView::FailureView(QWidget& window, const ControlWidgets& controls)
    : window_(window), controls_(controls), reason_(new QLabel(&window, Qt::ToolTip)) {
    reason_->setObjectName(QStringLiteral("failureReason"));
    reason_->setTextFormat(Qt::PlainText);
    reason_->setWordWrap(true);
    reason_->setAttribute(Qt::WA_ShowWithoutActivating);
    reason_->setForegroundRole(QPalette::ToolTipText);
    reason_->setBackgroundRole(QPalette::ToolTipBase);
    reason_->setAutoFillBackground(true);
    reason_->setFrameStyle(QFrame::Box | QFrame::Plain);
    reason_->setMargin(2);
    connect(qApp, &QApplication::focusChanged, this, &FailureView::placeReason);
}

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
    makeRoomForTitle(box);
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
    controls_.setColours(c, true);
    controls_.widget(c).setAccessibleDescription(reason);
    placeReason();
}

void FailureView::unmark(Ctl c) {
    if (!marked(c)) return;
    reasons_[static_cast<std::size_t>(c)].clear();
    controls_.setColours(c, false);
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
        // On one line where it fits the window's width; wrapped at that width where it does not.
        reason_->setWordWrap(false);
        const int width = std::min(reason_->sizeHint().width(), window_.width());
        reason_->setWordWrap(true);
        reason_->resize(width, reason_->heightForWidth(width));
        // Below the box, inside the window's width, and on the screen: above the box where
        // there is no room below it.
        const QPoint windowAt = window_.mapToGlobal(QPoint(0, 0));
        QPoint at = w.mapToGlobal(QPoint(0, w.height() + 1));
        at.setX(std::max(windowAt.x(), std::min(at.x(), windowAt.x() + window_.width() - reason_->width())));
        if (const QScreen* screen = window_.screen()) {
            const QRect room = screen->availableGeometry();
            at.setX(
                std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - reason_->width())));
            if (at.y() + reason_->height() > room.bottom() + 1) {
                at.setY(w.mapToGlobal(QPoint(0, 0)).y() - 1 - reason_->height());
            }
        }
        reason_->move(at);
        reason_->show();
        return;
    }
    reason_->hide();
}

void FailureView::refreshColours() {
    for (std::size_t i = 0; i < reasons_.size(); ++i) {
        const auto c = static_cast<Ctl>(i);
        controls_.setColours(c, marked(c));
    }
}

}  // namespace korvel::window
