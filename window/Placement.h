#pragma once

// Where the reason beside a marked box is shown, as a pure function of rectangles.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvel::window {

// The top left corner of a label of `size` that explains `box`, all in screen coordinates, with
// `window` the window's frame. Level with the box, moved left as far as needed to stay inside the
// window's width and, always, on the screen. Where the screen has room: just below the window,
// else just above it, so that it covers no control and a click never meets it. Where it has none:
// just below the box, above it where the screen has more room there and the label does not fit
// below; so it never covers the box it explains while the screen can hold it.
QPoint reasonPlace(const QRect& box, const QSize& size, const QRect& window, const QRect& screen);

}  // namespace korvel::window
