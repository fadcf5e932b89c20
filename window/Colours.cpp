#include "window/Colours.h"

#include <algorithm>
#include <cmath>

namespace korvel::window {
namespace {

const QColor kWarning(255, 140, 0);  // orange: the mark's hue on every palette

// x to the power 2.4, for x in (0, 1], from square roots alone: std::pow would page in a quarter
// megabyte of the maths library at start-up. 2.4 is 10.0110 0110 ... in binary, so the power is
// x * x times x^(1/4), x^(1/8), x^(1/64), x^(1/128), ...; forty roots leave it within 1e-12 of it.
double toThePower2point4(double x) {
    double power = x * x;
    double root = x;
    for (int halvings = 1; halvings <= 40; ++halvings) {
        root = std::sqrt(root);
        if (halvings % 4 == 2 || halvings % 4 == 3) power *= root;
    }
    return power;
}

double luminance(const QColor& c) {
    const auto linear = [](float v) {
        return v <= 0.04045F ? v / 12.92 : toThePower2point4((v + 0.055) / 1.055);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// To the 8 bits a screen shows, so that a contrast checked is the contrast drawn.
QColor mix(const QColor& a, const QColor& b, double shareOfB) {
    const auto channel = [&](float x, float y) {
        return static_cast<float>((1 - shareOfB) * x + shareOfB * y);
    };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()),
                            channel(a.blueF(), b.blueF()))
        .rgb();
}

// The base tinted towards orange, strongest first, as far as the text stays readable on it.
QColor markedBase(const BoxPalette& p) {
    for (int percent = 35; percent > 0; percent -= 5) {
        const QColor tint = mix(p.base, kWarning, percent / 100.0);
        if (contrast(tint, p.text) >= kReadableText) return tint;
    }
    return {};
}

QColor farthestFrom(const QColor& c) {
    return contrast(c, Qt::black) < contrast(c, Qt::white) ? Qt::white : Qt::black;
}

// Orange drawn away from the base until it stands out from the base and, as it lies on the box's
// edge, from the window, and looks unlike the edge of a plain box; black or white at last.
QColor outlineOn(const BoxPalette& p, const QColor& edge) {
    for (int percent = 0; percent < 100; percent += 10) {
        const QColor outline = mix(kWarning, farthestFrom(p.base), percent / 100.0);
        if (contrast(outline, p.base) >= kVisibleMark && contrast(outline, p.window) >= kVisibleMark &&
            contrast(outline, edge) >= 1.5)
            return outline;
    }
    return farthestFrom(p.base);
}

// Styles shade the ground a little where boxes stand (Fusion's group boxes, by 1 %): the edge stands
// out from the window a few percent darker as well.
QColor edgeOn(const BoxPalette& p) {
    const QColor shaded = mix(p.window, Qt::black, 0.03);
    for (int percent = 10; percent <= 100; percent += 10) {
        const QColor edge = mix(p.window, p.text, percent / 100.0);
        if (std::min(contrast(edge, p.window), contrast(edge, shaded)) >= kVisibleMark) return edge;
    }
    return farthestFrom(p.window);
}

QColor resultBase(const BoxPalette& p) {
    const QColor awayFromText = farthestFrom(p.text);
    for (const QColor& look : {p.window, mix(p.base, awayFromText, 0.15), mix(p.base, p.text, 0.12)}) {
        if (contrast(look, p.base) >= 1.1 && contrast(look, p.text) >= kReadableText) return look;
    }
    return {};
}

}  // namespace

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

BoxLook boxLook(const BoxPalette& palette, BoxRole role, Marking marking) {
    const QColor edge = edgeOn(palette);
    if (marking == Marking::Marked) {
        const QColor tint = markedBase(palette);
        return tint.isValid() ? BoxLook{tint, {}, true, edge}
                              : BoxLook{palette.base, outlineOn(palette, edge), true, edge};
    }
    if (role == BoxRole::Input) return {palette.base, {}, true, edge};
    const QColor shade = resultBase(palette);
    return shade.isValid() ? BoxLook{shade, {}, true, {}} : BoxLook{palette.base, {}, false, {}};
}

TextColours reasonColours(const TextColours& toolTip, const TextColours& window, const TextColours& base) {
    for (const TextColours& pair : {toolTip, window, base}) {
        if (contrast(pair.text, pair.background) >= kReadableText) return pair;
    }
    return {Qt::black, Qt::white};
}

}  // namespace korvel::window
