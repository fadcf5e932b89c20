#pragma once

// The look the program sets up once for every window (font, style, icon), and the number format
// of the user's locale. Opening the display is window/Display.h.

#include <QFont>
#include <QIcon>
#include <QLocale>

#include <cstdint>
#include <string_view>

#include "calc/Numbers.h"

class QApplication;

namespace korvel::window {

// The captions were sized for a narrow 8-point font; a condensed face at a fixed pixel
// size fits them alike on every machine, whatever its own default font and dots per inch.
// The window's controls take it; dialogs and the reason beside a box take the desktop's font.
inline constexpr const char* kFontFamily = "DejaVu Sans Condensed";
inline constexpr int kFontPixelSize = 10;

QFont captionFont();
QIcon programIcon();

// The decimal separator of the locale when it is a comma, the point otherwise.
NumberFormat numberFormatOf(const QLocale& locale);

// Who picks the widget style: the user (QT_STYLE_OVERRIDE, or `styleArgument`, the style named
// on the command line, empty for none), or the program, which picks Fusion: the style the
// captions were fitted in.
enum class Style : std::uint8_t { Fusion, UsersChoice };
Style styleToUse(std::string_view styleArgument);

// The look every window shares: the style, the program's name and icon.
void setUpApplication(QApplication& app, Style style);

}  // namespace korvel::window
