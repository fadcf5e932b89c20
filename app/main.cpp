#include <iostream>

#include "app/Startup.h"

int main() {
    korvel::FormModel form;
    form.setReporter([](const korvel::Failure& failure) { std::cerr << failure.what() << '\n'; });
    korvel::bindHandlers(form);
    return form.load() ? 0 : 1;
}
