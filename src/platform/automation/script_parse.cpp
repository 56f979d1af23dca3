// The input script's syntax: one command a line.

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/automation/script.h"
#include "platform/os/file_read.h"
#include "platform/ui/player_control.h"

namespace dalvo::platform {

namespace {

constexpr std::string_view kMenuNames[] = {"prog_end", "prog_load", "prog_save",
                                           "opt_menu", "speedup",   "vvrr"};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> split_words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && is_blank(s[i])) ++i;
        std::size_t j = i;
        while (j < s.size() && !is_blank(s[j])) ++j;
        if (j > i) words.push_back(s.substr(i, j - i));
        i = j;
    }
    return words;
}

// A comment starts with '#' at the start of a word.
std::string_view strip_comment(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '#' && (i == 0 || is_blank(s[i - 1]))) return s.substr(0, i);
    }
    return s;
}

bool parse_uint(std::string_view s, std::uint32_t max, std::uint32_t& out) {
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    std::uint64_t v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || v > max) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

bool is_identifier(std::string_view s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// FORM.CONTROL with an optional index: "File_Window.Picture1(2)".
bool parse_target(std::string_view s, std::string& form, std::string& control) {
    const std::size_t dot = s.find('.');
    if (dot == std::string_view::npos) return false;
    std::string_view f = s.substr(0, dot), c = s.substr(dot + 1);
    std::string_view base = c;
    if (const std::size_t open = c.find('('); open != std::string_view::npos) {
        std::uint32_t index;
        if (c.back() != ')' || !parse_uint(c.substr(open + 1, c.size() - open - 2), 9999, index)) return false;
        base = c.substr(0, open);
    }
    if (!is_identifier(f) || !is_identifier(base)) return false;
    form = f;
    control = c;
    return true;
}

bool iequals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

int modifier_bit(std::string_view name) {
    if (iequals(name, "Ctrl")) return mod::Ctrl;
    if (iequals(name, "Alt")) return mod::Alt;
    if (iequals(name, "Shift")) return mod::Shift;
    return 0;
}

// Parses one non-empty command line; returns an error text or "".
std::string parse_line(std::string_view line, ScriptCommand& c) {
    const std::size_t cmd_end = std::find_if(line.begin(), line.end(), is_blank) - line.begin();
    const std::string_view cmd = line.substr(0, cmd_end);
    if (cmd == "type") {
        // The rest of the line is the text; only a comment after it and the blanks
        // before that comment are left out.
        c.op = ScriptOp::Type;
        std::string_view text = cmd_end < line.size() ? strip_comment(line.substr(cmd_end + 1)) : "";
        if (text.size() < line.size() - std::min(line.size(), cmd_end + 1)) {
            while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
        }
        c.text = text;
        if (c.text.empty()) return "type needs a text";
        return "";
    }
    const auto words = split_words(strip_comment(line));
    const std::size_t n = words.size();
    if (cmd == "wait") {
        c.op = ScriptOp::Wait;
        if (n != 2 || !parse_uint(words[1], 0x7FFFFFFF, c.ms)) return "wait needs a number of milliseconds";
    } else if (cmd == "idle") {
        c.op = ScriptOp::Idle;
        c.ms = kDefaultIdleMs;
        if (n > 2 || (n == 2 && !parse_uint(words[1], 0x7FFFFFFF, c.ms)))
            return "idle takes at most a number of milliseconds";
    } else if (cmd == "click") {
        c.op = ScriptOp::Click;
        std::uint32_t x, y;
        if (n < 3 || n > 4 || !parse_uint(words[1], 639, x) || !parse_uint(words[2], 479, y))
            return "click needs X (0-639) and Y (0-479), then left or right";
        c.x = static_cast<int>(x);
        c.y = static_cast<int>(y);
        if (n == 4) {
            if (words[3] == "right") c.button = MouseButton::Right;
            else if (words[3] != "left") return "click: the button is left or right, not \"" + std::string(words[3]) + "\"";
        }
    } else if (cmd == "key") {
        c.op = ScriptOp::Key;
        if (n != 2) return "key needs one key name";
        // Modifiers held while the key goes down: "Ctrl+A", "Alt+Enter", "Ctrl+Shift+Tab".
        std::string_view name = words[1];
        for (std::size_t plus; name.size() > 1 && (plus = name.find('+')) != std::string_view::npos;) {
            const int held = modifier_bit(name.substr(0, plus));
            if (held == 0) return "key: \"" + std::string(name.substr(0, plus)) + "\" is not Ctrl, Alt or Shift";
            c.mods |= held;
            name.remove_prefix(plus + 1);
        }
        c.key = key_code(name);
        if (c.key < 0) return "unknown key \"" + std::string(name) + "\"";
    } else if (cmd == "hold" || cmd == "release") {
        c.op = cmd == "hold" ? ScriptOp::Hold : ScriptOp::Release;
        if (n != 2) return std::string(cmd) + " needs one key name";
        c.key = key_code(words[1]);
        if (c.key < 0) return "unknown key \"" + std::string(words[1]) + "\"";
    } else if (cmd == "wheel") {
        c.op = ScriptOp::Wheel;
        if (n != 2 || (words[1] != "up" && words[1] != "down")) return "wheel needs up or down";
        c.dy = words[1] == "up" ? 1 : -1;
    } else if (cmd == "pad") {
        c.op = ScriptOp::Pad;
        const auto button = n >= 2 ? pad_button_from_name(words[1]) : std::nullopt;
        if (n < 2 || n > 3 || !button)
            return "pad needs a button (A, B, X, Y, LB, RB, Up, Down, Left, Right, Start, Back), then down or up";
        c.pad = *button;
        if (n == 3) {
            if (words[2] == "down") c.presses = 1;
            else if (words[2] == "up") c.presses = 2;
            else return "pad: after the button comes down or up, not \"" + std::string(words[2]) + "\"";
        }
    } else if (cmd == "control") {
        c.op = ScriptOp::Control;
        const auto control = n == 2 ? control_from_name(words[1]) : std::nullopt;
        if (!control) return "control needs the name of one of the player's controls, e.g. auto";
        c.control_input = *control;
    } else if (cmd == "menu") {
        c.op = ScriptOp::Menu;
        if (n != 2) return "menu needs one command name";
        if (!is_menu_command(words[1]))
            return "unknown menu command \"" + std::string(words[1]) + "\"";
        c.text = words[1];
    } else if (cmd == "press" || cmd == "hover") {
        c.op = cmd == "press" ? ScriptOp::Press : ScriptOp::Hover;
        if (n != 2 || !parse_target(words[1], c.text, c.control))
            return std::string(cmd) + " needs FORM.CONTROL, e.g. Main_Form.SelTxt(1)";
    } else if (cmd == "close") {
        c.op = ScriptOp::Close;
        if (n > 2 || (n == 2 && !is_identifier(words[1]))) return "close takes at most a form name";
        if (n == 2) c.text = words[1];
    } else if (cmd == "answer") {
        c.op = ScriptOp::Answer;
        if (n != 2) return "answer needs yes, no or ok";
        if (words[1] == "yes") c.answer = MsgAnswer::Yes;
        else if (words[1] == "no") c.answer = MsgAnswer::No;
        else if (words[1] == "ok") c.answer = MsgAnswer::Ok;
        else return "answer needs yes, no or ok";
    } else if (cmd == "shot" || cmd == "dump") {
        c.op = cmd == "shot" ? ScriptOp::Shot : ScriptOp::Dump;
        if (n != 2) return std::string(cmd) + " needs one file name";
        c.text = words[1];
    } else {
        return "unknown command \"" + std::string(cmd) + "\"";
    }
    return "";
}

}  // namespace

namespace {

constexpr std::pair<std::string_view, int> kNamedKeys[] = {
    {"Enter", key::Enter}, {"Space", key::Space}, {"Escape", key::Escape},
    {"Tab", key::Tab},     {"Backspace", key::Backspace}, {"Up", key::Up},
    {"Down", key::Down},   {"Left", key::Left},   {"Right", key::Right},
    {"Shift", 16},         {"Ctrl", 17},          {"Alt", 18},
    {"PageUp", 33},        {"PageDown", 34},      {"End", 35},
    {"Home", 36},          {"Insert", 45},        {"Delete", 46}};
constexpr int kNumPad0 = 96;  // Num0..Num9: the numeric pad's digits

}  // namespace

bool is_menu_command(std::string_view name) {
    return std::find(std::begin(kMenuNames), std::end(kMenuNames), name) != std::end(kMenuNames);
}

std::string key_name(int code) {
    for (const auto& [n, c] : kNamedKeys) {
        if (c == code) return std::string(n);
    }
    // Appended rather than written "F" + number: GCC 12 at -O3 warns wrongly about the latter.
    if (code >= key::F1 && code < key::F1 + 12) return std::string("F").append(std::to_string(code - key::F1 + 1));
    if (code >= kNumPad0 && code < kNumPad0 + 10) return std::string("Num").append(std::to_string(code - kNumPad0));
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
    return {};
}

int key_code(std::string_view name) {
    for (const auto& [n, code] : kNamedKeys) {
        if (iequals(n, name)) return code;
    }
    if (name.size() == 4 && iequals(name.substr(0, 3), "Num") && name[3] >= '0' && name[3] <= '9') {
        return kNumPad0 + (name[3] - '0');
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        std::uint32_t f;
        if (parse_uint(name.substr(1), 12, f) && f >= 1) return key::F1 + static_cast<int>(f) - 1;
    }
    if (name.size() == 1) {
        const unsigned char ch = static_cast<unsigned char>(name[0]);
        if (std::isdigit(ch)) return ch;
        if (std::isalpha(ch)) return std::toupper(ch);  // key codes of letters are the capitals
    }
    return -1;
}

bool parse_script(std::string_view text, const std::string& file, Script& out, std::string& error) {
    Script script;
    script.file = file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int line_no = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && is_blank(line.front())) line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;
        ScriptCommand c;
        c.line = line_no;
        const std::string problem = parse_line(line, c);
        if (!problem.empty()) {
            error = file + ":" + std::to_string(line_no) + ": " + problem;
            return false;
        }
        script.commands.push_back(std::move(c));
    }
    out = std::move(script);
    return true;
}

bool load_script(const std::filesystem::path& file, Script& out, std::string& error) {
    std::string text;
    if (const ReadFault fault = read_whole_file(file, text); fault != ReadFault::None) {
        error = file.string() + ": cannot read the input script (" + describe(fault) + ")";
        return false;
    }
    return parse_script(text, file.string(), out, error);
}

}  // namespace dalvo::platform
