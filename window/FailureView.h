#pragma once

// How a failure reaches the user. After a press or a pick: a warning dialog with the
// failure's sentence, then the focus in the box at fault. While typing, where the text
// may be on its way to a number ("-" before "-100"): no dialog, the box is marked until it
// is written again. A mark is a tint, the reason shown beside the box while it has the focus,
// and the same reason as its accessible description. The user's text is always shown as
// plain text, never read as markup; the dialog and the reason are in the desktop's font.

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

#include "form/Failure.h"
#include "window/ControlWidgets.h"

class QLabel;

namespace korvel::window {

// A failure after a press or a pick is worth a dialog; while typing, only a mark.
enum class Reporting : std::uint8_t { AfterAction, WhileTyping };

inline constexpr const char* kFailureTitle = "Cannot calculate - Korvel;) Video Setup";

// A QObject so that its connections end with it.
class FailureView : public QObject {
public:
    FailureView(QWidget& window, const ControlWidgets& controls);

    void report(const Failure& failure, Reporting when);
    // Marks a control with the reason it needs a look; a new reason replaces the old.
    void mark(Ctl c, const QString& reason);
    void unmark(Ctl c);

    // Shows the reason of the focused control beside it, or hides it when that control is
    // not marked; for every change of focus and whenever the window moves.
    void placeReason();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the colours of every box and of the reason again, after the window's colours changed.
    void refreshColours();
    void colourReason();
    // The reason as the control's accessible description; empty for none.
    void describe(Ctl c, const QString& reason);
    bool marked(Ctl c) const { return !reasons_[static_cast<std::size_t>(c)].isEmpty(); }

    QWidget& window_;
    const ControlWidgets& controls_;
    std::array<QString, kControlCount> reasons_;
    // A tool tip of the program's own: Qt's hides at every keystroke and after a while.
    // Owned by the window.
    QLabel* reason_;
    bool refreshDue_ = false;
};

}  // namespace korvel::window
