#include "app/CommandLine.h"

#include <algorithm>
#include <array>

namespace korvel {

namespace {

// Qt's options whose value is the next argument (QGuiApplication and QApplication, Qt 6).
constexpr std::array<std::string_view, 10> kTakesValue = {
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-style",  "-stylesheet"};

}  // namespace

CommandLine readCommandLine(std::span<const char* const> arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (line.asks == CommandLine::Asks::Window) {  // the first of the two counts
            if (argument == "--help") line.asks = CommandLine::Asks::Help;
            if (argument == "--version") line.asks = CommandLine::Asks::Version;
        }
        // Qt reads "--name" as "-name".
        const std::string_view option = argument.starts_with("--") ? argument.substr(1) : argument;
        if (option.starts_with("-style=")) line.style = option.substr(7);
        if (std::ranges::find(kTakesValue, option) == kTakesValue.end() || i + 1 == arguments.size())
            continue;
        const std::string_view value = arguments[++i];
        if (option == "-platform") line.platform = value;
        if (option == "-style") line.style = value;
    }
    return line;
}

std::string_view usage() {
    return "Usage: korvel-video-setup [QT-OPTION...]\n"
           "One window that works out the picture size, crop and bitrate of a video encode.\n"
           "\n"
           "  --help             print this and exit\n"
           "  --version          print the name and version and exit\n"
           "  -platform NAME     open the window with Qt's platform NAME (xcb, wayland);\n"
           "                     also QT_QPA_PLATFORM=NAME\n"
           "  -style NAME        draw in the widget style NAME, not Fusion (Windows keeps\n"
           "                     the layout whole, others may clip captions);\n"
           "                     also -style=NAME and QT_STYLE_OVERRIDE=NAME\n"
           "  QT_SCALE_FACTOR=F  (environment) scale the window by F, such as 1.5 or 2\n"
           "Qt's options may start with one dash or two; any other goes to Qt.\n"
           "\n"
           "Exit status: 0 when the window is closed, and after --help or --version;\n"
           "1 when no display could be opened, with one line saying why.\n";
}

std::string_view versionLine() { return "korvel-video-setup " KORVEL_VERSION "\n"; }

}  // namespace korvel
