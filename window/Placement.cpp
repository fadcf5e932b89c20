#include "window/Placement.h"

#include <algorithm>

namespace korvel::window {

QPoint reasonPlace(const QRect& box, const QSize& size, const QRect& window, const QRect& screen) {
    int x = std::max(window.left(), std::min(box.left(), window.left() + window.width() - size.width()));
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.left() + screen.width() - size.width()));

    const auto fits = [&](int y) {
        return y >= screen.top() && y + size.height() <= screen.top() + screen.height();
    };
    for (const int y : {window.top() + window.height(), window.top() - size.height()}) {
        if (fits(y)) return {x, y};
    }
    const int below = box.top() + box.height() + 1;
    const int above = box.top() - 1 - size.height();
    const int roomBelow = screen.top() + screen.height() - below;
    const int roomAbove = box.top() - 1 - screen.top();
    int y = size.height() <= roomBelow || roomBelow >= roomAbove ? below : above;
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.top() + screen.height() - size.height()));
    return {x, y};
}

}  // namespace korvel::window
