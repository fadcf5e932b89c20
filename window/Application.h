#pragma once

// What the program sets up once for every window: style, icon and the number format of the
// user's locale.

#include <QFont>
#include <QIcon>
#include <QLocale>
#include <memory>

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

// Whether the user asked for a style (QT_STYLE_OVERRIDE, -style): read before QApplication
// takes its own arguments out of argv.
bool styleChosenByUser(int argc, char** argv);

// Without a style chosen by the user, Fusion: the style the captions were fitted in.
void setUpApplication(QApplication& app, bool styleChosen);

// Builds the application, opening the display. Where no display can be opened (no DISPLAY
// or WAYLAND_DISPLAY, or a dead server) it prints one line saying so and exits with status 1,
// instead of Qt's abort with its advice to reinstall.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv);

}  // namespace korvel::window
