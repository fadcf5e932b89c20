#include "window/FailureView.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QSpacerItem>

#include <algorithm>
#include <utility>

#include "window/Colours.h"
#include "window/Placement.h"

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
    // Clicks pass through it to the control beneath, where the window system lets them.
    : window_(window),
      controls_(controls),
      reason_(new QLabel(&window, Qt::ToolTip | Qt::WindowTransparentForInput)) {
    reason_->setObjectName(QStringLiteral("failureReason"));
    reason_->setTextFormat(Qt::PlainText);
    reason_->setWordWrap(true);
    reason_->setAttribute(Qt::WA_ShowWithoutActivating);
    reason_->setMouseTracking(true);
    reason_->setAutoFillBackground(true);
    reason_->setFrameStyle(QFrame::Box | QFrame::Plain);
    reason_->setMargin(2);
    connect(qApp, &QApplication::focusChanged, this, &FailureView::placeReason);
    // Escape puts the reason away until the focus moves or the reason changes; no dialog is
    // open then, as a dialog takes the keys while it is.
    auto* dismiss = new QShortcut(QKeySequence(Qt::Key_Escape), &window_);
    connect(dismiss, &QShortcut::activated, reason_, &QWidget::hide);
    colourReason();
    reason_->installEventFilter(this);
    window_.installEventFilter(this);
    for (const ControlDef& control : controlTable()) {
        if (control.kind == Kind::TextBox || control.kind == Kind::DropDownList)
            controls_.widget(control.id).installEventFilter(this);
    }
}

bool FailureView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // It is placed clear of the controls where the screen has room. Where it has none and the window
    // system hands the pointer to the reason after all, it gets out of the way, and a press or release
    // goes on to the control beneath, so that no click is lost.
    if (watched == reason_ && (type == QEvent::Enter || type == QEvent::MouseMove)) {
        reason_->hide();
        return false;
    }
    if (watched == reason_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                               type == QEvent::MouseButtonDblClick)) {
        reason_->hide();
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->globalPosition().toPoint();
        if (QWidget* beneath = window_.childAt(window_.mapFromGlobal(at))) {
            QMouseEvent passed(type, beneath->mapFromGlobal(mouse->globalPosition()), mouse->globalPosition(),
                               mouse->button(), mouse->buttons(), mouse->modifiers());
            QCoreApplication::sendEvent(beneath, &passed);
        }
        return true;
    }
    // A new palette, style or font reaches the window and its boxes one by one, in no fixed
    // order, and a style may reset a box's palette: the colours are set again once all is
    // through, each box's as if the program had started that way.
    const bool restyled = type == QEvent::PaletteChange || type == QEvent::StyleChange ||
                          type == QEvent::FontChange || type == QEvent::ThemeChange;
    if (watched != reason_ && restyled && !std::exchange(refreshDue_, true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                refreshDue_ = false;
                refreshColours();
            },
            Qt::QueuedConnection);
    }
    return false;
}

void FailureView::report(const Failure& failure, Reporting when) {
    const QString sentence = QString::fromUtf8(failure.what());
    const auto subject = failure.subject();
    // While typing, a text on its way to a number is no reason for a dialog; a failure
    // that names no box has nowhere to be marked, so it is shown like any other.
    if (when == Reporting::WhileTyping && subject) {
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
    controls_.setColours(c, Marking::Marked);
    describe(c, reason);
    placeReason();
}

void FailureView::unmark(Ctl c) {
    if (!marked(c)) return;
    reasons_[static_cast<std::size_t>(c)].clear();
    controls_.setColours(c, Marking::Plain);
    describe(c, QString());
    placeReason();
}

void FailureView::describe(Ctl c, const QString& reason) {
    controls_.widget(c).setAccessibleDescription(reason);
    // The text part of an editable list holds the focus while one types: a screen reader
    // reads the reason there.
    if (auto* list = controls_.as<QComboBox>(c); list && list->lineEdit())
        list->lineEdit()->setAccessibleDescription(reason);
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
        const QRect box(w.mapToGlobal(QPoint(0, 0)), w.size());
        const QRect window = window_.frameGeometry();  // on the screen, with the window manager's frame
        const QScreen* screen = window_.screen();
        reason_->move(
            reasonPlace(box, reason_->size(), window, screen ? screen->availableGeometry() : window));
        reason_->show();
        return;
    }
    reason_->hide();
}

void FailureView::colourReason() {
    const QPalette& p = window_.palette();
    const auto pair = [&](QPalette::ColorRole text, QPalette::ColorRole background) {
        return TextColours{p.color(text), p.color(background)};
    };
    // Tool tip colours of some schemes hardly read: only a pair that does is taken.
    const TextColours colours =
        reasonColours(pair(QPalette::ToolTipText, QPalette::ToolTipBase),
                      pair(QPalette::WindowText, QPalette::Window), pair(QPalette::Text, QPalette::Base));
    QPalette look;
    look.setColor(QPalette::WindowText, colours.text);
    look.setColor(QPalette::Window, colours.background);
    reason_->setPalette(look);
}

void FailureView::refreshColours() {
    colourReason();
    for (std::size_t i = 0; i < reasons_.size(); ++i) {
        const auto c = static_cast<Ctl>(i);
        controls_.setColours(c, marked(c) ? Marking::Marked : Marking::Plain);
    }
}

}  // namespace korvel::window
