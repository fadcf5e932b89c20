#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <span>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "window/Application.h"
#include "window/Display.h"
#include "window/FormWindow.h"

int main(int argc, char* argv[]) {
    // Read before Qt takes its own arguments out of argv; --help and --version need no display.
    const korvel::CommandLine line = korvel::readCommandLine(
        argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                 : std::span<const char* const>());
    if (line.asks != korvel::CommandLine::Asks::Window) {
        const std::string_view text =
            line.asks == korvel::CommandLine::Asks::Help ? korvel::usage() : korvel::versionLine();
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0
                   ? 0
                   : 1;
    }
    const auto app = korvel::window::openApplication(argc, argv, line.platform);
    korvel::window::setUpApplication(*app, korvel::window::styleToUse(line.style));

    korvel::FormModel form;
    korvel::bindHandlers(form, korvel::window::numberFormatOf(QLocale()));
    korvel::window::FormWindow window(form);
    form.load();
    window.show();
    return QApplication::exec();
}
