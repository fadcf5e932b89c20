#pragma once

// How a failure reaches the user. After a press or a pick: a warning dialog with the
// failure's sentence, then the focus in the box at fault. While typing, where the text
// may be on its way to a number ("-" before "-100"): no dialog, the box is marked with a
// tint, a tooltip and an accessible description until a later write to it succeeds.

#include <QString>

#include <array>

#include "calc/Failure.h"
#include "ui/window/ControlWidgets.h"

namespace korvel::window {

inline constexpr const char* kFailureTitle = "Cannot calculate - Korvel;) Video Setup";

class FailureView {
public:
    FailureView(QWidget& window, const ControlWidgets& controls);

    void report(const Failure& failure, bool whileTyping);
    void unmark(Ctl c);
    bool marked(Ctl c) const { return marked_[static_cast<std::size_t>(c)]; }

private:
    void mark(Ctl c, const QString& sentence);

    QWidget& window_;
    const ControlWidgets& controls_;
    std::array<bool, kControlCount> marked_{};
};

}  // namespace korvel::window
