#include "check/report.h"

#include "platform/os/data_folder.h"

namespace dalvo::check {

void Report::error(const std::filesystem::path& file, int line, std::string message) {
    items_.push_back({platform::path_text(file), line, Severity::Error, std::move(message)});
}

void Report::warning(const std::filesystem::path& file, int line, std::string message) {
    items_.push_back({platform::path_text(file), line, Severity::Warning, std::move(message)});
}

bool Report::has_errors() const {
    for (const Diagnostic& d : items_) {
        if (d.severity == Severity::Error) return true;
    }
    return false;
}

std::string format(const Diagnostic& d) {
    std::string out = d.file;
    if (d.line > 0) {
        out += ':';
        out += std::to_string(d.line);
    }
    out += d.severity == Severity::Error ? ": error: " : ": warning: ";
    return out + d.message;
}

std::string Report::text() const {
    std::string out;
    for (const Diagnostic& d : items_) out += format(d) + "\n";
    return out;
}

}  // namespace dalvo::check
