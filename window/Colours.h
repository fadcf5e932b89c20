#pragma once

// How boxes are coloured, as pure functions of the palette's colours: readable text in light,
// dark, high-contrast and grey palettes alike, a mark that stands out, results apart from the
// boxes to type in. The widgets only apply what these give.

#include <QColor>

#include <cstdint>

namespace korvel::window {

// Text at less than this contrast to its background is hard to read (WCAG AA).
inline constexpr double kReadableText = 4.5;
// A frame or other mark that is no text must stand this far from what surrounds it.
inline constexpr double kVisibleMark = 3.0;

// WCAG 2 contrast of two colours, from 1 (the same) to 21 (black on white).
double contrast(const QColor& a, const QColor& b);

// The colours of one group (active, inactive, disabled) of a palette that boxes depend on.
struct BoxPalette {
    QColor base;    // of the boxes to type in
    QColor text;    // on that base
    QColor window;  // around the boxes
};

enum class BoxRole : std::uint8_t { Input, Result };
enum class Marking : std::uint8_t { Plain, Marked };

// How a box is drawn: its base, a frame of this colour inside its own where a fill alone cannot
// tell it (invalid for none), whether it keeps the style's frame, and the colour of its outermost
// line of pixels, drawn over the style's (invalid for the style's own).
struct BoxLook {
    QColor base;
    QColor outline;
    bool framed = true;
    QColor edge;
};

// A box to type in: on the base, its edge drawn from the window's colour towards the text until
// it stands kVisibleMark from the window (black or white at last): styles draw it faintly, and
// themes give it the window's own colour, so it would vanish.
// A marked box: the base tinted towards orange, as far as its text stays readable; where no
// tint keeps it so, the base with an orange outline that stands out from it and from the window,
// and looks unlike the edge of a plain box.
// It keeps its edge.
// A result: on the window's colour, or, where that is hardly different from the base (as in
// high-contrast themes), on the base shaded away from the text or else towards it, the first
// that keeps its text readable; where none does, on the base without the style's frame, so that
// it still looks unlike the framed boxes to type in.
BoxLook boxLook(const BoxPalette& palette, BoxRole role, Marking marking);

// The colours of the reason shown beside a marked box: the first pair of the palette's own
// that reads at kReadableText (tool tip, window, base), else black on white.
struct TextColours {
    QColor text;
    QColor background;
};
TextColours reasonColours(const TextColours& toolTip, const TextColours& window, const TextColours& base);

}  // namespace korvel::window
