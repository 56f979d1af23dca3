#pragma once
// The host: what the window system gave the original program. One thread; every
// handler runs inside yield().

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/clock.h"
#include "platform/ui/form.h"
#include "platform/ui/screen.h"
#include "platform/ui/input_event.h"
#include "platform/codec/json.h"
#include "platform/services/input_source.h"
#include "platform/services/message_box.h"
#include "platform/automation/trace.h"
#include "platform/ui/menu_keys.h"

namespace dalvo::platform {

// Thrown by Host::end_program and caught only by main() (and by tests that run a
// game): the program's immediate end from inside any nested wait. The one
// exception that crosses module boundaries.
struct ProgramEnd {
    int code = 0;
};

// A window timer driven by the host's clock (never a thread).
class Timer {
public:
    Timer(std::string name, std::uint32_t interval_ms, std::function<void()> on_tick)
        : name_(std::move(name)), interval_(interval_ms), on_tick_(std::move(on_tick)) {}
    // Enabling restarts the countdown from now, as the window system did.
    void set_enabled(bool on, std::uint32_t now);
    bool enabled() const { return enabled_; }
    void set_interval(std::uint32_t ms, std::uint32_t now);
    std::uint32_t interval() const { return interval_; }
    const std::string& name() const { return name_; }
    // Fires the handler once when due; returns true when it fired.
    bool poll(std::uint32_t now);

private:
    std::string name_;
    std::uint32_t interval_;
    std::function<void()> on_tick_;
    bool enabled_ = false;
    bool firing_ = false;  // a tick whose handler yields does not tick again inside itself
    std::uint32_t due_ = 0;
};

// What the game tells the automation: what it waits for, and its state as JSON.
struct AutomationHooks {
    // "click", "choice", "title", "name", "dialog" or "none".
    std::function<std::string()> waiting;
    // Writes the state dump's keys into an open JSON object.
    std::function<void(JsonWriter&)> dump;
    // Closes the game as a normal exit does, without asking (the end of an input script).
    std::function<void()> close;
};

class Backend;

class Host final : private FormPresenter {
public:
    Host(Clock& clock, Trace& trace, Backend& backend);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Clock& clock() { return clock_; }
    Trace& trace() { return trace_; }

    // DoEvents: pumps the backend, polls the input sources, delivers pending input
    // to the forms' handlers, fires due timers, presents what is left to show.
    void yield();
    // Shows every change of the shown forms now, without serving input or timers.
    void present();
    // A shown form's client area as the player sees it: as last presented.
    const Surface* screen(const Form& form) const { return screen_.picture(form); }

    // Milliseconds of the clock since the host was made.
    std::uint32_t elapsed_ms() { return clock_.ticks() - start_ticks_; }

    // Forms: shown forms receive input and are presented; the first shown is the main one.
    void show_form(Form& form);
    void hide_form(Form& form);
    bool is_shown(const Form& form) const;
    const std::vector<Form*>& forms() const { return forms_; }
    Form* find_form(std::string_view name) const;
    Form* main_form() const { return forms_.empty() ? nullptr : forms_.front(); }
    // The form that gets the keyboard: the last one shown or clicked that is still
    // shown and enabled, else the last shown enabled one.
    Form* active_form() const;
    // Centres the form on the desktop.
    void center_form(Form& form);

    Timer& add_timer(std::string name, std::uint32_t interval_ms, std::function<void()> on_tick);

    // A modal message box with the game's title as caption; blocks until answered.
    // An input source's answer, when one has it, goes before the player's.
    MsgAnswer message_box(std::string_view text, MsgButtons buttons);

    void set_ime_open(bool open);
    void launch_url(std::string_view url);
    void set_busy_cursor(bool busy);

    [[noreturn]] void end_program(int code);

    // Automation.
    void set_automation(AutomationHooks hooks);
    AutomationHooks& automation() { return hooks_; }
    // Input sources are polled in the order added, each yield, after the window's input.
    void add_input_source(std::unique_ptr<InputSource> source);
    // Observers see every input delivered and every answered message box; the host
    // does not own them, and they must be removed before they end.
    void add_input_observer(InputObserver& observer);
    void remove_input_observer(InputObserver& observer);
    // The player's controls look at every input before the forms' handlers do; an input
    // the filter takes (returns true for) goes no further. One filter; empty: none.
    void set_input_filter(std::function<bool(const InputEvent&)> filter) { filter_ = std::move(filter); }
    // Queues input as if it came from the backend (used by the script runner and tests).
    void post(InputEvent event);
    // Delivers one event now (inside the current yield).
    void dispatch(const InputEvent& event);

    Backend& backend() { return backend_; }

private:
    struct Capture {  // the control that got a button down, by name (it may go away meanwhile)
        std::string form;
        std::string control;  // empty: the bare form
        MouseButton button = MouseButton::Left;
        bool active = false;
    };
    void drain_queue();
    void fire_timers();
    void on_mouse_down(const MouseDown& e);
    void on_mouse_up(const MouseUp& e);
    void on_mouse_move(const MouseMove& e);
    void on_key_down(const KeyDown& e);
    void on_text_input(const TextInput& e);
    void on_text_editing(const TextEditing& e);
    void on_press(const PressControl& e);
    void on_menu_command(const MenuCommand& e);
    void on_pad(const PadPress& e);
    void on_hover(const HoverControl& e);
    void complete_click(Form& form, const std::string& control);
    // Input aimed at `form` makes it the active form; the one that was active hears
    // its on_lost_focus first.
    void activate(Form& form);
    // Composes the form's damage into the screen and shows what changed.
    void present(Form& form) override;

    Clock& clock_;
    Trace& trace_;
    Backend& backend_;
    std::vector<Form*> forms_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::deque<InputEvent> queue_;
    AutomationHooks hooks_;
    std::vector<std::unique_ptr<InputSource>> sources_;
    std::vector<InputObserver*> observers_;
    std::function<bool(const InputEvent&)> filter_;
    MenuKeys menu_keys_;
    int yield_depth_ = 0;
    std::uint32_t start_ticks_ = 0;
    std::string active_;
    Capture capture_;
    Screen screen_;
};

// What differs between a real window and no window at all.
class Backend {
public:
    virtual ~Backend() = default;
    // Moves pending window-system input into `out`.
    virtual void pump(std::vector<InputEvent>& out) = 0;
    // Puts the changed parts of a form's picture (its client area as the screen
    // now shows it) on the screen.
    virtual void show(Form& form, const Surface& picture, const Damage& changed) = 0;
    // Keeps the windows of the shown forms up to date with what is not their pixels
    // (title, place, menu bar, a window uncovered); once per yield.
    virtual void update_windows(const std::vector<Form*>& forms) { (void)forms; }
    virtual void form_shown(Form& form) = 0;
    virtual void form_hidden(Form& form) = 0;
    // Shows a message box and returns the player's answer. With `given` (the
    // automation's answer) nobody is asked: a backend that puts boxes on the screen
    // shows none, one that writes them down still does.
    virtual MsgAnswer message_box(std::string_view text, MsgButtons buttons,
                                  std::optional<MsgAnswer> given) = 0;
    virtual void set_ime_open(bool open) = 0;
    virtual void launch_url(std::string_view url) = 0;
    // Fullscreen on or off, for a backend with a window that can be.
    virtual void toggle_fullscreen() {}
    // Filtered scaling where the window is not a whole multiple of the picture.
    virtual void set_smooth_scaling(bool on) { (void)on; }
    virtual void set_cursor(const Cursor* cursor, bool busy) = 0;
    // Rows the window shows above the form's client area (a menu bar), in the form's pixels.
    virtual int menu_bar_height(const Form& form) const {
        (void)form;
        return 0;
    }
    // The desktop's size in pixels, for centring forms; false when unknown.
    virtual bool desktop_size(int& width, int& height) {
        (void)width;
        (void)height;
        return false;
    }
};


}  // namespace dalvo::platform
