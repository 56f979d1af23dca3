// Reading "3.dat" and "39.dat" line by line with the engine's field reader.

#include <string>

#include "check/scenario.h"
#include "engine/field_reader.h"
#include "engine/scenario_loader.h"
#include "engine/state.h"

namespace dalvo::check {

namespace {


// The text split at its line ends (CR LF, LF or CR), as the field reader counts lines.
std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::vector<std::string> fields_of(std::string_view line) {
    FieldReader in(line);
    std::vector<std::string> fields;
    fields.reserve(13);  // a record's count
    std::string field;
    while (in.next(field)) fields.push_back(field);
    return fields;
}

// A scene number field; reports and returns false when it does not convert.
bool scene_field(const std::string& field, const char* what, const std::filesystem::path& file,
                 int line, std::int16_t& out, Report& report) {
    switch (convert_scene_number(field, out)) {
    case NumberError::None:
        return true;
    case NumberError::OutOfRange:
        report.error(file, line, std::string(what) + " \"" + field + "\" leaves the 16-bit range");
        return false;
    case NumberError::NotNumber:
        break;
    }
    report.error(file, line, std::string(what) + " \"" + field + "\" is not a number");
    return false;
}

void read_script(std::string_view text, Scenario& s, Report& report) {
    const auto lines = split_lines(text);
    bool over_limit = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (blank(lines[i])) continue;
        const std::vector<std::string> f = fields_of(lines[i]);
        if (f.size() != 13) {
            report.error(s.script_file, line,
                         "record has " + std::to_string(f.size()) + " fields, not 13");
            s.loadable = false;
            continue;
        }
        if (f[0] == "num") continue;  // a heading
        if (s.records.size() >= static_cast<std::size_t>(kScriptMax) && !over_limit) {
            report.error(s.script_file, line, "more than 3001 records");
            s.loadable = false;
            over_limit = true;
        }
        Record r;
        r.line = line;
        r.scene_ok = scene_field(f[0], "scene number", s.script_file, line, r.scene, report);
        r.cmd = trim_blanks(f[1]);
        r.has_target = !f[2].empty();
        r.target_ok = r.has_target &&
                      scene_field(f[2], "target scene", s.script_file, line, r.target, report);
        if (!r.scene_ok || (r.has_target && !r.target_ok)) s.loadable = false;
        r.place = trim_blanks(f[3]);
        r.doll = trim_blanks(f[4]);
        r.face = trim_blanks(f[5]);
        r.speaker = trim_blanks(f[7]);
        r.text = trim_blanks(f[8]);
        r.arg1 = trim_blanks(f[9]);
        r.arg3 = trim_blanks(f[11]);
        if (r.scene_ok) s.scenes.insert(r.scene);
        s.records.push_back(std::move(r));
    }
    if (s.records.empty()) {
        report.error(s.script_file, 1, "no records");
        s.loadable = false;
    }
}

// The jumps look scenes up by binary search over their runs in file order: a scene out
// of ascending order loads, but a jump may land on another run of it or miss it.
void check_scene_runs(Scenario& s, Report& report) {
    int previous = -1;
    int runs = 0;
    for (const Record& r : s.records) {
        if (!r.scene_ok || r.scene == previous) continue;
        if (runs > 0 && r.scene < previous) {
            report.warning(s.script_file, r.line,
                           "scene " + std::to_string(r.scene) + " comes after scene " +
                               std::to_string(previous) +
                               ": a jump to a scene out of ascending order may land on another run of it"
                               " or not find it");
        }
        if (++runs == kSeqMax + 1) {
            report.error(s.script_file, r.line, "more than 501 scene runs");
            s.loadable = false;
        }
        previous = r.scene;
    }
}

void read_choices(std::string_view text, Scenario& s, Report& report) {
    const auto lines = split_lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (blank(lines[i])) continue;
        const std::vector<std::string> f = fields_of(lines[i]);
        if (f.size() != 3) {
            report.error(s.choice_file, line,
                         "choice line has " + std::to_string(f.size()) + " fields, not 3");
            s.loadable = false;
            continue;
        }
        if (s.choices.size() == static_cast<std::size_t>(kSctMax)) {
            report.error(s.choice_file, line, "more than 201 choice lines");
            s.loadable = false;
        }
        ChoiceLine c;
        c.line = line;
        const bool group_ok = scene_field(f[0], "choice group", s.choice_file, line, c.group, report);
        const bool target_ok = scene_field(f[2], "choice target", s.choice_file, line, c.target, report);
        c.ok = group_ok && target_ok;
        if (!c.ok) s.loadable = false;
        if (trim_blanks(f[1]).empty()) report.warning(s.choice_file, line, "choice has no label");
        if (target_ok && !s.scenes.contains(c.target)) {
            report.error(s.choice_file, line,
                         "choice target scene " + std::to_string(c.target) + " does not exist");
            s.loadable = false;
        }
        s.choices.push_back(c);
    }
}

}  // namespace

int option_count(const std::string& text) {
    int n = 0;
    for (char c : trim_blanks(text)) {
        if (c < '0' || c > '9') break;
        n = std::min(n * 10 + (c - '0'), 1000);
    }
    return n;
}

Scenario read_scenario(std::string_view script_text, std::string_view choice_text,
                       const std::filesystem::path& script_file,
                       const std::filesystem::path& choice_file, Report& report) {
    Scenario s;
    s.script_file = script_file;
    s.choice_file = choice_file;
    read_script(script_text, s, report);
    check_scene_runs(s, report);
    read_choices(choice_text, s, report);
    return s;
}

}  // namespace dalvo::check
