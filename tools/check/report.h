#pragma once
// What the checker found: one line per fault, "FILE:LINE: error|warning: message".

#include <filesystem>
#include <string>
#include <vector>

namespace dalvo::check {

enum class Severity { Error, Warning };

struct Diagnostic {
    std::string file;  // as the author named the folder, e.g. "data/3.dat"
    int line = 0;      // 0 for files without lines (pictures, music)
    Severity severity = Severity::Error;
    std::string message;
};

class Report {
public:
    void error(const std::filesystem::path& file, int line, std::string message);
    void warning(const std::filesystem::path& file, int line, std::string message);

    const std::vector<Diagnostic>& items() const { return items_; }
    bool has_errors() const;
    // Every finding, one a line, in the order found.
    std::string text() const;

private:
    std::vector<Diagnostic> items_;
};

std::string format(const Diagnostic& d);

}  // namespace dalvo::check
