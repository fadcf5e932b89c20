#pragma once

#include <string>
#include <vector>

#include "calc/Startup.h"

namespace korvel::testing {

// The program's model after start-up, with every text write and every report recorded.
struct LoadedForm {
    FormModel form;
    std::vector<std::string> writes;  // "name=text" for every text write, in order
    std::vector<Failure> reports;

    explicit LoadedForm(NumberFormat format = {}, bool load = true) {
        bindHandlers(form, format);
        form.setReporter([this](const Failure& f) { reports.push_back(f); });
        if (load) form.load();
        form.setObserver([this](Ctl c, Write w) {
            if (w == Write::Text) writes.push_back(std::string(controlName(c)) + "=" + form.GetText(c));
        });
    }

    const std::string& text(Ctl c) const { return form.GetText(c); }
};

}  // namespace korvel::testing
