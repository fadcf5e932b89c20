#pragma once

// The window as a model of named controls, free of any toolkit.
//
// Start-up and the calculators read and write the window only through GetText, SetText,
// GetListIndex, SetListIndex and AddEntry. SetText and SetListIndex raise the control's
// change or click event at once: the registered handler runs to its end, with whatever it
// raises in turn, before the operation returns. A handler that fails throws Failure; it
// unwinds every nested handler up to the user action (pickEntry, editText, typeListText,
// pressButton, or load for start-up), which is the one place that catches it and hands it
// once to the failure reporter. What was written before the failing step stays.
// A view shows the model by listening to the observer, which hears of every write.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/Controls.h"
#include "form/Failure.h"

namespace korvel {

enum class Event : std::uint8_t { Load, Click, Change };

// What an observer is told has just been written.
enum class Write : std::uint8_t { Text, ListIndex, Entries };

class FormModel {
public:
    using Handler = std::function<void()>;
    using Reporter = std::function<void(const Failure&)>;
    using Observer = std::function<void(Ctl, Write)>;

    FormModel();
    // Handlers and views hold the model by address: it stays where it was made.
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    // Operations for start-up and the calculators.
    const std::string& GetText(Ctl c) const;
    void SetText(Ctl textBox, std::string_view text);
    std::int16_t GetListIndex(Ctl list) const;
    void SetListIndex(Ctl list, std::int16_t position);
    void AddEntry(Ctl list, std::string_view text);

    std::span<const std::string> Entries(Ctl list) const;

    // One handler per control and event; a new one replaces the old.
    void on(Ctl c, Event e, Handler handler);
    void setReporter(Reporter reporter) { reporter_ = std::move(reporter); }
    void setObserver(Observer observer) { observer_ = std::move(observer); }

    // The user's actions. Each returns true when it ran without failure; a failure has
    // then been reported. An action that arrives while another is still running (a view
    // echoing the model's own write) is refused and returns false.
    bool load();
    bool pickEntry(Ctl list, std::int16_t position);
    bool editText(Ctl textBox, std::string_view text);
    bool typeListText(Ctl list, std::string_view text);
    bool pressButton(Ctl button);

private:
    struct State {
        std::string text;
        std::vector<std::string> entries;
        std::int16_t listIndex = -1;
    };

    template <class Action>
    bool act(Action&& action);
    void raise(Ctl c, Event e);
    void notify(Ctl c, Write w);
    State& state(Ctl c) { return states_[static_cast<std::size_t>(c)]; }
    const State& state(Ctl c) const { return states_[static_cast<std::size_t>(c)]; }

    std::array<State, kControlCount> states_;
    std::array<std::array<Handler, 3>, kControlCount> handlers_;
    Reporter reporter_;
    Observer observer_;
    bool busy_ = false;
};

}  // namespace korvel
