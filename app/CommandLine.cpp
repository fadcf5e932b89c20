#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <vector>

namespace korvel {

namespace {

// Qt's options whose value is the next argument, by the pass of Qt's that reads them: the platform's
// (before any plugin loads), QGuiApplication's, then QApplication's. Each pass takes its options
// and their values out of the arguments before the next pass looks, so "-style -platform x" is a
// platform for Qt, with a style option that has no value left.
struct QtOption {
    std::string_view name;
    int pass;
};
constexpr std::array<QtOption, 10> kTakesValue = {{{"-platform", 0},
                                                   {"-platformpluginpath", 0},
                                                   {"-platformtheme", 0},
                                                   {"-qwindowgeometry", 0},
                                                   {"-qwindowicon", 0},
                                                   {"-qwindowtitle", 0},
                                                   {"-plugin", 1},
                                                   {"-session", 1},
                                                   {"-style", 2},
                                                   {"-stylesheet", 2}}};

// Qt reads "--name" as "-name".
std::string_view asOption(std::string_view argument) {
    return argument.starts_with("--") ? argument.substr(1) : argument;
}

}  // namespace

CommandLine readCommandLine(std::span<const char* const> arguments) {
    CommandLine line;
    std::vector<std::string_view> left(arguments.begin(), arguments.end());
    for (int pass = 0; pass < 3; ++pass) {
        std::vector<std::string_view> kept;
        for (std::size_t i = 0; i < left.size(); ++i) {
            const std::string_view option = asOption(left[i]);
            if (pass == 2 && option.starts_with("-style=")) {
                line.style = option.substr(7);
                continue;
            }
            const bool takesValue = std::ranges::any_of(
                kTakesValue, [&](const QtOption& o) { return o.pass == pass && o.name == option; });
            if (!takesValue || i + 1 == left.size()) {
                kept.push_back(left[i]);
                continue;
            }
            const std::string_view value = left[++i];
            if (option == "-platform") line.platform = value;
            if (option == "-style") line.style = value;
        }
        left = std::move(kept);
    }
    // What Qt leaves is the program's: the first of the two counts.
    const auto asked =
        std::ranges::find_if(left, [](std::string_view a) { return a == "--help" || a == "--version"; });
    if (asked != left.end())
        line.asks = *asked == "--help" ? CommandLine::Asks::Help : CommandLine::Asks::Version;
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
