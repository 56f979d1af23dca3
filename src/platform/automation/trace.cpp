#include "platform/automation/trace.h"


namespace dalvo::platform {

bool Trace::write_to(const std::filesystem::path& file) {
    file_.open(file, std::ios::out | std::ios::trunc | std::ios::binary);
    return file_.is_open();
}

void Trace::event(std::string_view ev, std::initializer_list<JsonField> fields) {
    // Without a file or a watcher nobody reads the line: skipping it keeps skip mode fast.
    if (!file_.is_open() && observers_.empty()) return;
    JsonWriter w;
    w.begin_object();
    w.field("t", static_cast<std::int64_t>(static_cast<std::uint32_t>(clock_.ticks() - start_)));
    w.field("ev", ev);
    for (const JsonField& f : fields) {
        w.key(f.key);
        std::visit([&w](const auto& v) { w.value(v); }, f.value);
    }
    w.end_object();
    const std::string& line = w.str();
    if (file_.is_open()) {
        // Flushed line by line so that a crash or a kill still leaves every event written.
        file_ << line << '\n';
        file_.flush();
    }
    for (const auto& observer : observers_) observer(line);
}

void Trace::add_observer(std::function<void(const std::string& line)> observer) {
    observers_.push_back(std::move(observer));
}

}  // namespace dalvo::platform
