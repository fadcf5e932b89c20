#pragma once

// What assistive technology (screen readers, over AT-SPI) gets beyond Qt's defaults: the window
// is a window; every text box answers any offset or range, however hostile, at once; what a tool
// writes into a box is an edit like typing, so the figures follow it; and the calls Qt's own
// AT-SPI bridge cannot survive (a loop without end, a crash) are answered before they reach it.

namespace korvel::window {

// After the application is made and before the first widget: Qt resolves a widget's accessible
// interface once for good, as soon as the widget announces a change such as its accessible name.
// More calls change nothing.
void installAccessibility();

}  // namespace korvel::window
