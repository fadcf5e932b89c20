#pragma once

// Opening the display. Where none can be opened (no DISPLAY or WAYLAND_DISPLAY, a dead server, a
// platform that cannot start, a Wayland desktop without Qt's Wayland plugin), the program prints one
// line saying why and exits with status 1, instead of Qt's messages and its abort with advice to
// reinstall.

#include <memory>
#include <string_view>

class QApplication;

namespace korvel::window {

// Builds the application. `platformArgument` is the platform named on the command line (-platform),
// empty for none; QT_QPA_PLATFORM is read here. What Qt and the libraries under it print on the way
// is held back, and shown once the display is open.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string_view platformArgument);

}  // namespace korvel::window
