#pragma once

// How a failure reaches the user. After a press or a pick: a warning dialog with the
// failure's sentence, then the focus in the box at fault. While typing, where the text
// may be on its way to a number ("-" before "-100"): no dialog, the box is marked until a
// later write to it succeeds. A mark is a tint, the reason shown beside the box while it has
// the focus, and the same reason as its accessible description. The user's text is always
// shown as plain text, never read as markup.

#include <QString>

#include <array>
#include <memory>

#include "calc/Failure.h"
#include "ui/window/ControlWidgets.h"

class QLabel;

namespace korvel::window {

inline constexpr const char* kFailureTitle = "Cannot calculate - Korvel;) Video Setup";

class FailureView {
public:
    FailureView(QWidget& window, const ControlWidgets& controls);
    ~FailureView();
    FailureView(const FailureView&) = delete;
    FailureView& operator=(const FailureView&) = delete;

    void report(const Failure& failure, bool whileTyping);
    // Marks a control with the reason it needs a look; a new reason replaces the old.
    void mark(Ctl c, const QString& reason);
    void unmark(Ctl c);

    // Shows the reason of the focused control beside it, or hides it when that control is
    // not marked; for every change of focus and whenever the window moves.
    void placeReason();
    // Draws every box again in its state, after the window's colours have changed.
    void repaint();

private:
    bool marked(Ctl c) const { return !reasons_[static_cast<std::size_t>(c)].isEmpty(); }

    QWidget& window_;
    const ControlWidgets& controls_;
    std::array<QString, kControlCount> reasons_;
    // A tool tip of the program's own: Qt's hides at every keystroke and after a while.
    std::unique_ptr<QLabel> reason_;
};

}  // namespace korvel::window
