#include <QApplication>
#include <QLocale>

#include "app/Startup.h"
#include "window/Accessibility.h"
#include "window/Application.h"
#include "window/FormWindow.h"

int main(int argc, char* argv[]) {
    const bool styleChosen = korvel::window::styleChosenByUser(argc, argv);
    const auto app = korvel::window::openApplication(argc, argv);
    korvel::window::setUpApplication(*app, styleChosen);
    korvel::window::installAccessibility();

    korvel::FormModel form;
    korvel::bindHandlers(form, korvel::window::numberFormatOf(QLocale()));
    korvel::window::FormWindow window(form);
    form.load();
    window.show();
    return QApplication::exec();
}
