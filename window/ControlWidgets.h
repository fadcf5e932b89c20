#pragma once

// The 33 controls of the control table as widgets inside the form widget: kind, caption,
// geometry, font, stacking, caption labels, accessible names and tab order. No state: texts
// and selections are shown by FormBinding.

#include <QWidget>

#include <array>

#include "form/Controls.h"
#include "window/Colours.h"

namespace korvel::window {

class ControlWidgets {
public:
    // Builds every control of the table into `form`, which stands for frmKorvel.
    explicit ControlWidgets(QWidget& form);

    // Sets the colours a text box or list is drawn in, from the window's current palette:
    // a marked box stands out in a warning tint, a result box is drawn on the window's own
    // colour, so results do not look like places to type. Call again when the palette changes.
    void setColours(Ctl c, Marking marking) const;

    QWidget& widget(Ctl c) const { return *widgets_[static_cast<std::size_t>(c)]; }

    // The control as the widget class of its kind, or null for another kind.
    template <class W>
    W* as(Ctl c) const {
        return qobject_cast<W*>(widgets_[static_cast<std::size_t>(c)]);
    }

private:
    std::array<QWidget*, kControlCount> widgets_{};
};

}  // namespace korvel::window
