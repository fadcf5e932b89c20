#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <span>

#include "app/CommandLine.h"
#include "calc/Startup.h"
#include "window/Accessibility.h"
#include "window/Application.h"
#include "window/Display.h"
#include "window/FormWindow.h"

int main(int argc, char* argv[]) {
    using korvel::CommandLine;
    // Read before Qt takes its own arguments out of argv; --help and --version need no display.
    const std::span<const char* const> arguments(argv, static_cast<std::size_t>(argc));
    const CommandLine line = korvel::readCommandLine(arguments.empty() ? arguments : arguments.subspan(1));
    if (line.asks != CommandLine::Asks::Window) {
        const std::string_view text =
            line.asks == CommandLine::Asks::Help ? korvel::usage() : korvel::versionLine();
        // Output that cannot be written (a closed pipe, a full disk) is a failure like any other.
        const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    const auto app = korvel::window::openApplication(argc, argv, line.platform);
    korvel::window::setUpApplication(*app, korvel::window::styleToUse(line.style));
    korvel::window::installAccessibility();

    korvel::FormModel form;
    korvel::bindHandlers(form, korvel::window::numberFormatOf(QLocale()));
    korvel::window::FormWindow window(form);
    form.load();
    window.show();
    return QApplication::exec();
}
