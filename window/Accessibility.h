#pragma once

// What assistive technology (screen readers, over AT-SPI) gets beyond Qt's defaults: the window
// is a window; every text box answers any offset or range, however hostile, at once; a list reads
// its entry, says a new one and opens by its actions; what a tool writes into a box is an edit
// like typing, so the figures follow it; a reason is said once as it appears or changes, and a
// move of the focus makes no talk of selections; places and points are in the screen's pixels; and
// a call that does not fit what its object declares, or that Qt's own AT-SPI bridge cannot
// survive, is answered before it reaches it.

namespace korvel::window {

// After the application is made and before the first widget: Qt resolves a widget's accessible
// interface once for good, as soon as the widget announces a change such as its accessible name.
// More calls change nothing.
void installAccessibility();

}  // namespace korvel::window
