#include "app/command_line.h"

#include <charconv>

namespace dalvo::app {

namespace {

constexpr const char* kBuildVersion = "1.20.0";

bool parse_number(const std::string& s, long long min, long long max, long long& out) {
    const auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && out >= min && out <= max;
}

}  // namespace

bool parse_command_line(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    CommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        bool has_value = false;
        // Both "--out DIR" and "--out=DIR".
        if (const auto eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
            has_value = true;
        }
        const auto take_value = [&]() {
            if (has_value) return true;
            if (i + 1 >= args.size()) {
                error = option + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        const auto flag = [&](bool& target) {
            if (has_value) {
                error = option + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        long long number = 0;
        if (option == "--help" || option == "-h") {
            if (!flag(cl.help)) return false;
        } else if (option == "--version") {
            if (!flag(cl.version)) return false;
        } else if (option == "--headless") {
            if (!flag(cl.headless)) return false;
        } else if (option == "--data" || option == "--input" || option == "--out" || option == "--trace" ||
                   option == "--record" || option == "--soundfont") {
            if (!take_value()) return false;
            if (value.empty()) {
                error = option + " needs a non-empty value";
                return false;
            }
            (option == "--data"    ? cl.data_dir
             : option == "--input" ? cl.input
             : option == "--out"   ? cl.out_dir
             : option == "--trace"  ? cl.trace_file
             : option == "--record" ? cl.record_file
                                    : cl.soundfont) =
                // The arguments are UTF-8 everywhere; a plain string would be read in
                // Windows' narrow code page there.
                std::filesystem::path(std::u8string(value.begin(), value.end()));
        } else if (option == "--master-level") {
            if (!take_value()) return false;
            if (!parse_number(value, 0, 65535, number)) {
                error = "--master-level needs a number from 0 to 65535, not \"" + value + "\"";
                return false;
            }
            cl.master_level = static_cast<std::uint32_t>(number);
            cl.master_level_given = true;
        } else if (option == "--scale") {
            if (!take_value()) return false;
            if (!parse_number(value, 1, 8, number)) {
                error = "--scale needs a whole number from 1 to 8, not \"" + value + "\"";
                return false;
            }
            cl.scale = static_cast<int>(number);
        } else {
            error = "unknown option \"" + option + "\"";
            return false;
        }
    }
    if (cl.master_level_given && !cl.headless) {
        error = "--master-level is only for --headless (a window uses the sound card's own level)";
        return false;
    }
    out = std::move(cl);
    return true;
}

std::string usage_text() {
    return "Usage: dalvo [options]\n"
           "  --data DIR          use DIR as the data folder\n"
           "                      (default: \"data\" beside the program, else the program's folder)\n"
           "  --headless          no window and no audio device; a virtual clock;\n"
           "                      input only from --input\n"
           "  --input FILE        run the input script FILE\n"
           "  --out DIR           folder for shot and dump (default: the current folder)\n"
           "  --trace FILE        write one JSON object per line for each observable event\n"
           "  --record FILE       write every input of the session to FILE as an input script\n"
           "                      that replays it (also DALVO_RECORD=FILE in the environment);\n"
           "                      names typed into the name entry are in it as typed\n"
           "  --soundfont FILE    the General MIDI soundfont of the music (also DALVO_SOUNDFONT=FILE;\n"
           "                      default: FluidR3_GM when installed, else TimGM6mb)\n"
           "  --master-level N    headless only: the starting master level, 0..65535\n"
           "  --scale N           real window: scale the window by N (1..8)\n"
           "  --help, --version   this text; the version\n"
           "Exit status: 0 normal end, 1 start-up failed, 2 bad usage, 3 idle timed out.\n"
           "Controls: hold Ctrl skip read text, Tab skip on/off, wheel or PageUp/PageDown the history,\n"
           "  Up/Down/1-3 and Enter a choice, H or the middle button hide the message window,\n"
           "  A auto mode, F12 screenshot, F11 or Alt+Enter fullscreen, F1 controls and settings,\n"
           "  F10 or Alt alone the menu bar (arrows walk it, Enter picks, Escape closes); a pad: A go on,\n"
           "  B history, X hide, Y auto, RB held skip, D-pad a choice, Start the menu bar.\n"
           "  Settings: $XDG_CONFIG_HOME/dalvo/settings.ini\n";
}

std::string version_text() {
    return std::string("DALVO! Ver. 1.20\nengine build ") + kBuildVersion + "\n";
}

const char* build_version() { return kBuildVersion; }

}  // namespace dalvo::app
