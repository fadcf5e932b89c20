#pragma once

// The 33 controls of the layout table as widgets inside the form widget: kind, caption,
// geometry, stacking, caption labels, accessible names and tab order. No state: texts and
// selections are shown by FormBinding.

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>

#include "ui/model/Controls.h"

namespace korvel::window {

class ControlWidgets {
public:
    // Builds every control of the table into `form`, which stands for frmKorvel.
    explicit ControlWidgets(QWidget& form);

    // Draws a text box or list in its state: the tint of a mark, or else for a read-only
    // box the window's own colour as its base, so results do not look like places to type.
    void paint(Ctl c, std::optional<QColor> tint = std::nullopt) const;

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
