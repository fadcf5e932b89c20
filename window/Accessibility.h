#pragma once

// What assistive technology is told beyond Qt's defaults: the window is a window, and a
// result box is text to read, not to edit.

#include <QLineEdit>

namespace korvel::window {

// A read-only text box that holds a result. Its own class, so that its accessible interface
// is ours rather than Qt's, which calls every line edit editable.
class ResultBox : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;
};

// Before the window is built; more calls change nothing.
void installAccessibility();

}  // namespace korvel::window
