// The records against each other, the choice table and the pictures of the folder.

#include <array>
#include <map>
#include <string>

#include "check/scenario.h"
#include "engine/scenario_loader.h"
#include "platform/codec/text_codec.h"

namespace dalvo::check {

namespace {

constexpr std::array<std::string_view, 12> kPlaceEffects{"DI", "VB", "HB", "HC", "BC", "IC",
                                                         "MS", "DK", "SO", "MC", "MO", "MI"};
constexpr std::array<std::string_view, 4> kHideEffects{"DI", "VB", "HB", "IC"};

template <std::size_t N>
bool one_of(std::string_view s, const std::array<std::string_view, N>& list) {
    for (std::string_view item : list) {
        if (s == item) return true;
    }
    return false;
}

struct Context {
    const Scenario& s;
    const FolderFacts& folder;
    Report& report;
    void error(const Record& r, const std::string& m) const { report.error(s.script_file, r.line, m); }
    void warning(const Record& r, const std::string& m) const { report.warning(s.script_file, r.line, m); }
};

void check_number(const Context& c, const Record& r, const std::string& field, const char* what) {
    std::int16_t value = 0;
    switch (parse_int16(field, value)) {
    case NumberError::None:
        return;
    case NumberError::OutOfRange:
        c.error(r, std::string(what) + " \"" + field + "\" leaves the 16-bit range");
        return;
    case NumberError::NotNumber:
        c.error(r, std::string(what) + " \"" + field + "\" is not a number");
        return;
    }
}

void check_target(const Context& c, const Record& r) {
    if (!r.has_target) {
        c.error(r, "\"" + r.cmd + "\" has no target scene");
    } else if (r.target_ok && !c.s.scenes.contains(r.target)) {
        c.error(r, "target scene " + std::to_string(r.target) + " does not exist");
    }
}

struct Expression {
    std::string group, sub;
};

Expression expression_of(const std::string& text) {
    const int n = platform::char_count(text);
    return {platform::char_substr(text, 0, 3), platform::char_substr(text, n < 3 ? 0 : n - 3)};
}

bool tested_by_i(const Expression& e) {
    if (e.group == "kou") return e.sub == "iku" || e.sub == "eki" || e.sub == "umi";
    if (e.group == "hat") return e.sub == "eki" || e.sub == "umi";
    return e.group == "kae" || e.group == "chi" || e.group == "hay";
}

bool changed_by_p(const Expression& e) {
    if (e.group == "kou") return e.sub == "iku" || e.sub == "eki" || e.sub == "umi";
    if (e.group == "hat") return e.sub == "eki" || e.sub == "umi";
    if (e.group == "kae") return e.sub == "umi";
    for (const char* g : {"kok", "eig", "suu", "ben", "hap", "chi", "hay"}) {
        if (e.group == g) return true;
    }
    return false;
}

// The choice "s": its group is the scene of its own record.
void check_choice(const Context& c, const Record& r) {
    const int wanted = option_count(r.text);
    if (wanted < 1 || wanted > 3) {
        c.error(r, "a choice offers 1 to 3 options, not \"" + r.text + "\"");
        return;
    }
    const auto& table = c.s.choices;
    const std::string group = "group " + std::to_string(r.scene) + " of " + c.s.choice_file.filename().string();
    std::size_t first = 0;
    while (first < table.size() && !(table[first].ok && table[first].group == r.scene)) ++first;
    if (first == table.size()) {
        c.error(r, "choice " + group + " does not exist");
        return;
    }
    // The options are the entries from the group's first on, whatever their group.
    const std::size_t left = table.size() - first;
    if (left < static_cast<std::size_t>(wanted)) {
        c.error(r, "choice asks for " + std::to_string(wanted) + " options but " +
                       c.s.choice_file.filename().string() + " has only " + std::to_string(left) +
                       (left == 1 ? " line" : " lines") + " from group " + std::to_string(r.scene) + " on");
        return;
    }
    int have = 0;
    while (have < wanted && table[first + have].group == r.scene) ++have;
    if (have < wanted) {
        c.warning(r, "choice asks for " + std::to_string(wanted) + " options but " + group + " has " +
                         std::to_string(have) + ", so it also shows the lines of other groups from line " +
                         std::to_string(table[first + have].line));
    }
}

void check_command(const Context& c, const Record& r, std::size_t index) {
    if (r.cmd.empty()) return;
    const char digit = r.cmd.back();
    const Expression e = expression_of(r.text);
    switch (r.cmd.front()) {
    case 'g':
        if (r.cmd == "g0") check_target(c, r);
        else if (r.cmd != "g1" && r.cmd != "g9") c.warning(r, "\"" + r.cmd + "\" does nothing");
        return;
    case 'a': {
        const int code = static_cast<unsigned char>(digit) - 48;
        const bool known = (code >= 0 && code <= 9) || (code >= 17 && code <= 27) || (code >= 49 && code <= 59);
        if (!known) c.warning(r, "sound command \"" + r.cmd + "\" names no action");
        return;
    }
    case 's':
        check_choice(c, r);
        return;
    case 'p':
        if (digit != '2') {
            c.error(r, "\"" + r.cmd + "\": the parameter command is \"p2\"");
            return;
        }
        if (!changed_by_p(e)) c.warning(r, "\"p2\" on \"" + r.text + "\" changes no parameter");
        check_number(c, r, r.arg1, "parameter change");
        return;
    case 'i':
        if (digit != '1') {
            c.error(r, "\"" + r.cmd + "\": the equality test is \"i1\"");
            return;
        }
        if (!tested_by_i(e)) c.warning(r, "\"i1\" on \"" + r.text + "\" tests no parameter and never jumps");
        check_number(c, r, r.arg1, "compared number");
        check_target(c, r);
        return;
    case 'c':
        if (digit != '1' && digit != '2') {
            c.error(r, "\"" + r.cmd + "\": the threshold tests are \"c1\" and \"c2\"");
            return;
        }
        if (digit == '1' ? e.group != "ben" : e.group != "kok" && e.group != "eig" && e.group != "suu") {
            c.warning(r, "\"" + r.cmd + "\" on \"" + r.text + "\" never jumps");
        } else {
            check_number(c, r, r.arg1, "threshold");
        }
        check_target(c, r);
        return;
    case 'd':
        if (std::string_view("012349").find(digit) == std::string_view::npos) {
            c.error(r, "\"" + r.cmd + "\": the day tests are \"d0\" to \"d4\" and \"d9\"");
            return;
        }
        check_number(c, r, r.text, "day");
        if (digit == '9') check_number(c, r, r.arg1, "second day");
        check_target(c, r);
        return;
    case 'e':
        // The four records after "e" are the two epilogue pages.
        if (index + 4 >= c.s.records.size()) {
            c.error(r, "\"e\" needs four epilogue records after it, the file has " +
                           std::to_string(c.s.records.size() - 1 - index));
        }
        return;
    case 'q':
    case 'o':
    case 'r':
        return;
    default:
        c.warning(r, "unknown command \"" + r.cmd + "\"");
    }
}

void check_stage(const Context& c, const Record& r) {
    if (!r.place.empty()) {
        std::int16_t n = 0;
        check_number(c, r, r.place, "background number");
        if (parse_int16(r.place, n) == NumberError::None && !c.folder.pictures.contains(70 + n)) {
            c.error(r, "background " + r.place + " has no picture " + std::to_string(70 + n) + ".dat");
        }
        const std::string code = platform::char_substr(r.text, 0, 2);
        if (!code.empty() && !one_of(code, kPlaceEffects)) c.warning(r, "unknown effect code \"" + code + "\"");
    }
    if (!r.doll.empty()) {
        const char slot = r.doll.front();
        const char shown = r.doll.back();
        if (slot < '1' || slot > '4') c.error(r, "sprite field \"" + r.doll + "\": the slot must be 1 to 4");
        if (shown < '0' || shown > '9') c.error(r, "sprite field \"" + r.doll + "\" does not end in a digit");
        if (shown == '0' && !r.text.empty() && !one_of(r.text, kHideEffects)) {
            c.warning(r, "unknown effect code \"" + r.text + "\" for hiding a sprite");
        } else if (shown > '0' && shown <= '9' && !r.text.empty() && r.text != "L" && r.text != "C" &&
                   r.text != "R") {
            c.warning(r, "sprite position \"" + r.text + "\" is not L, C or R");
        }
    }
    if (!r.face.empty()) {
        std::int16_t n = 0;
        if (parse_int16("0" + r.face, n) != NumberError::None || n < 1 || n > 3) {
            c.error(r, "face number \"" + r.face + "\" is not 1 to 3");
        }
    }
}

void check_message(const Context& c, const Record& r) {
    if (!r.speaker.empty()) {
        std::int16_t n = 0;
        check_number(c, r, r.speaker, "speaker code");
        if (parse_int16(r.speaker, n) == NumberError::None && (n < 0 || n > 5)) {
            c.warning(r, "speaker code " + r.speaker + " is not 0 to 5");
        }
    }
    if (r.arg3 != "1") return;
    for (std::size_t p = r.text.find('&'); p != std::string::npos; p = r.text.find('&', p + 1)) {
        const char d = p + 1 < r.text.size() ? r.text[p + 1] : '\0';
        if (d < '0' || d > '5') c.error(r, "name marker \"&\" must be followed by a digit 0 to 5");
    }
}

}  // namespace

void check_scenario(const Scenario& s, const FolderFacts& folder, Report& report) {
    const Context c{s, folder, report};
    // The last record closes the script and is never run.
    for (std::size_t i = 0; i + 1 < s.records.size(); ++i) {
        const Record& r = s.records[i];
        check_stage(c, r);
        check_command(c, r, i);
        check_message(c, r);
    }
}

}  // namespace dalvo::check
