#include "platform/host.h"

#include <algorithm>

namespace dalvo::platform {

namespace {

// Input is no longer dispatched below this many nested yields, so that a run of
// handlers that each start a wait cannot exhaust the stack; timers still run.
constexpr int kMaxInputDepth = 256;

struct DepthGuard {
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    int& depth_;
};

}  // namespace

void Timer::set_enabled(bool on, std::uint32_t now) {
    enabled_ = on;
    if (on) due_ = now + interval_;
}

void Timer::set_interval(std::uint32_t ms, std::uint32_t now) {
    interval_ = ms;
    if (enabled_) due_ = now + ms;
}

bool Timer::poll(std::uint32_t now) {
    if (!enabled_ || interval_ == 0 || firing_) return false;
    if (static_cast<std::int32_t>(now - due_) < 0) return false;
    // Ticks that fell due while nobody looked arrive as one, and the rhythm keeps its grid.
    due_ += ((now - due_) / interval_ + 1) * interval_;
    firing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{firing_};
    auto handler = on_tick_;  // the handler may replace itself
    if (handler) handler();
    return true;
}

Host::Host(Clock& clock, Trace& trace, Backend& backend)
    : clock_(clock), trace_(trace), backend_(backend), start_ticks_(clock.ticks()) {}

Host::~Host() = default;

void Host::yield() {
    DepthGuard guard(yield_depth_);
    std::vector<InputEvent> incoming;
    backend_.pump(incoming);
    for (InputEvent& e : incoming) queue_.push_back(std::move(e));
    if (yield_depth_ <= kMaxInputDepth) {
        drain_queue();
        // The sources come after the queue so that the rest of an earlier command
        // (a button release) reaches the game before the next command does.
        for (std::size_t i = 0; i < sources_.size(); ++i) {
            sources_[i]->poll(*this);
            drain_queue();
        }
    }
    fire_timers();
    backend_.update_windows(forms_);
    present();
}

void Host::present() {
    for (Form* form : forms_) {
        if (form->damaged()) present(*form);
    }
}

void Host::present(Form& form) {
    const Damage changed = screen_.present(form);
    if (changed.empty()) return;
    if (trace_.active()) {
        const Rect r = changed.bounds();
        trace_.event("present", {{"form", form.name}, {"rect", std::vector<std::int64_t>{r.x, r.y, r.w, r.h}}});
    }
    backend_.show(form, *screen_.picture(form), changed);
}

void Host::drain_queue() {
    while (!queue_.empty()) {
        // Taken off first: a handler may yield, and the nested yield goes on with the rest.
        InputEvent e = std::move(queue_.front());
        queue_.pop_front();
        dispatch(e);
    }
}

void Host::fire_timers() {
    for (std::size_t i = 0; i < timers_.size(); ++i) timers_[i]->poll(clock_.ticks());
}

void Host::post(InputEvent event) { queue_.push_back(std::move(event)); }

void Host::show_form(Form& form) {
    active_ = form.name;
    if (is_shown(form)) return;
    forms_.push_back(&form);
    backend_.form_shown(form);
    form.set_presenter(this);
    form.invalidate();
}

void Host::hide_form(Form& form) {
    const auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it == forms_.end()) return;
    forms_.erase(it);
    form.set_presenter(nullptr);
    screen_.forget(form);
    if (capture_.form == form.name) capture_.active = false;
    if (active_ == form.name) active_.clear();
    backend_.form_hidden(form);
}

bool Host::is_shown(const Form& form) const {
    return std::find(forms_.begin(), forms_.end(), &form) != forms_.end();
}

Form* Host::find_form(std::string_view name) const {
    for (Form* f : forms_) {
        if (f->name == name) return f;
    }
    return nullptr;
}

Form* Host::active_form() const {
    if (Form* f = find_form(active_); f && f->enabled) return f;
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if ((*it)->enabled) return *it;
    }
    return main_form();
}

void Host::center_form(Form& form) {
    int width = 1024, height = 768;
    backend_.desktop_size(width, height);
    form.left = std::max(0, (width - form.client_width) / 2);
    // The whole window is centred, its menu bar too, so that its bottom stays on the desktop.
    form.top = std::max(0, (height - form.client_height - backend_.menu_bar_height(form)) / 2);
}

Timer& Host::add_timer(std::string name, std::uint32_t interval_ms, std::function<void()> on_tick) {
    timers_.push_back(std::make_unique<Timer>(std::move(name), interval_ms, std::move(on_tick)));
    return *timers_.back();
}

MsgAnswer Host::message_box(std::string_view text, MsgButtons buttons) {
    std::optional<MsgAnswer> given;
    for (std::size_t i = 0; i < sources_.size() && !given; ++i) given = sources_[i]->answer();
    if (given) given = fit_answer(*given, buttons);
    const std::uint32_t shown_at = clock_.ticks();
    const MsgAnswer answer = fit_answer(backend_.message_box(text, buttons, given), buttons);
    const std::uint32_t shown_ms = clock_.ticks() - shown_at;
    trace_.event("msgbox", {{"text", text},
                            {"buttons", buttons == MsgButtons::YesNo ? "yesno" : "ok"},
                            {"answer", answer_name(answer)}});
    for (std::size_t i = 0; i < observers_.size(); ++i) observers_[i]->on_answer(*this, answer, shown_ms);
    return answer;
}

void Host::set_ime_open(bool open) { backend_.set_ime_open(open); }

void Host::launch_url(std::string_view url) {
    trace_.event("shell", {{"url", url}});
    backend_.launch_url(url);
}

void Host::set_busy_cursor(bool busy) {
    const Form* main = main_form();
    backend_.set_cursor(main ? main->cursor.get() : nullptr, busy);
}

void Host::end_program(int code) {
    trace_.event("exit", {{"code", code}});
    throw ProgramEnd{code};
}

void Host::set_automation(AutomationHooks hooks) { hooks_ = std::move(hooks); }

void Host::add_input_source(std::unique_ptr<InputSource> source) { sources_.push_back(std::move(source)); }

void Host::add_input_observer(InputObserver& observer) { observers_.push_back(&observer); }

void Host::remove_input_observer(InputObserver& observer) { std::erase(observers_, &observer); }

}  // namespace dalvo::platform
