// The files of a data folder: presence, the names list, pictures and music.

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "check/check.h"
#include "check/scenario.h"
#include "check/story_checks.h"
#include "platform/codec/audio_formats.h"
#include "platform/os/data_folder.h"
#include "platform/os/file_read.h"
#include "platform/gfx/picture.h"
#include "platform/codec/text_codec.h"

namespace dalvo::check {

namespace fs = std::filesystem;

namespace {

struct Size {
    int width = 0;
    int height = 0;
};

class Folder {
public:
    Folder(const fs::path& dir, Report& report) : dir_(dir), data_(dir), report_(report) {}

    // A file as the game names it, for the messages.
    fs::path path(const std::string& name) const { return data_.shown(name); }
    // The file on disk that the game finds under that name.
    fs::path file(const std::string& name) const { return data_.path(name); }

    // The file's bytes, or nullopt after reporting it missing or empty.
    std::optional<std::string> required(const std::string& name, const fs::path& from = {}, int line = 0) {
        const fs::path file = path(name);
        const fs::path& where = from.empty() ? file : from;
        warn_about_name(name, where, line);
        std::string bytes;
        const platform::ReadFault fault = data_.read(name, bytes);
        if (fault == platform::ReadFault::Missing || fault == platform::ReadFault::NotAFile) {
            report_.error(where, line, from.empty() ? "required file is missing" : "file \"" + name + "\" is missing");
            return std::nullopt;
        }
        if (fault != platform::ReadFault::None) {
            report_.error(where, line, std::string(from.empty() ? "required file" : "file \"" + name + "\"") + ": " +
                                           platform::describe(fault));
            return std::nullopt;
        }
        if (bytes.empty()) {
            report_.error(where, line, from.empty() ? "required file is empty" : "file \"" + name + "\" is empty");
            return std::nullopt;
        }
        return bytes;
    }

    // A text file of the game, up to its end-of-file mark; text after the mark is warned about.
    std::optional<std::string> required_text(const std::string& name) {
        auto bytes = required(name);
        if (!bytes) return bytes;
        const std::size_t mark = bytes->find('\x1A');
        if (mark == std::string::npos) return bytes;
        // Only line ends and blanks after the mark are as the editors of the time left them.
        const bool more = bytes->find_first_not_of("\x1A\r\n \t", mark) != std::string::npos;
        if (more && warned_.insert("\x1A" + name).second) {
            const int line = 1 + static_cast<int>(std::count(bytes->begin(), bytes->begin() + static_cast<long>(mark), '\n'));
            report_.warning(path(name), line, "end-of-file mark (0x1A) before the end: the rest of the file is ignored");
        }
        bytes->resize(mark);
        return bytes;
    }

    // Decodes a picture once; reports a picture that does not decode.
    std::optional<Size> picture(const std::string& name) {
        if (auto it = pictures_.find(name); it != pictures_.end()) return it->second;
        std::optional<Size> size;
        if (const auto bytes = required(name)) {
            platform::Surface s;
            std::string error;
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
            if (platform::decode_picture({data, bytes->size()}, s, error)) {
                size = Size{s.width(), s.height()};
            } else {
                report_.error(path(name), 0, "picture does not decode: " + error);
            }
        }
        pictures_[name] = size;
        return size;
    }

    void picture_of_size(const std::string& name, int width, int height) {
        const auto size = picture(name);
        if (size && (size->width != width || size->height != height)) {
            report_.error(path(name), 0,
                          "picture is " + std::to_string(size->width) + " x " + std::to_string(size->height) +
                              ", it must be " + std::to_string(width) + " x " + std::to_string(height));
        }
    }

    bool picture_ok(int number) {
        std::error_code ec;
        const std::string name = std::to_string(number) + ".dat";
        return fs::is_regular_file(file(name), ec) && picture(name).has_value();
    }

    Report& report() { return report_; }

private:
    // The game finds a name as Windows does; a folder that works only that way, or holds
    // two names that differ only by case, plays differently where names are exact.
    void warn_about_name(const std::string& name, const fs::path& where, int line) {
        if (!warned_.insert(name).second) return;
        const platform::DataFolder::Found found = data_.find(name);
        const auto shown = [&](const fs::path& p) {
            // Built up in place: GCC 12 for Windows warns wrongly on "\"" + a temporary.
            std::string quoted(1, '"');
            quoted += platform::path_text(p.lexically_relative(dir_));
            quoted += '"';
            return quoted;
        };
        if (found.how == platform::DataFolder::Match::Case) {
            report_.warning(where, line, "\"" + name + "\" is found only by another case, as " + shown(found.file));
        } else if (found.how == platform::DataFolder::Match::ShiftJis) {
            report_.warning(where, line, "\"" + name + "\" is found only as the Shift-JIS bytes of the name, as " +
                                             shown(found.file));
        }
        const std::vector<fs::path> all = data_.matches(name);
        if (found.how != platform::DataFolder::Match::None && all.size() > 1) {
            std::string list;
            for (const fs::path& p : all) list += (list.empty() ? "" : ", ") + shown(p);
            report_.warning(where, line, "names that differ only by case: " + list + "; the game takes " + shown(found.file));
        }
    }

    fs::path dir_;
    platform::DataFolder data_;
    Report& report_;
    std::set<std::string> warned_;
    std::map<std::string, std::optional<Size>> pictures_;
};

std::string dat(int n) { return std::to_string(n) + ".dat"; }

// The player's two names go into every save, whose values hold no comma or double quote.
void check_saved_names(Folder& folder, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < 2 && i < lines.size(); ++i) {
        if (lines[i].find_first_of(",\"") != std::string::npos) {
            folder.report().error(folder.path("30.dat"), static_cast<int>(i) + 1,
                                  "name \"" + lines[i] +
                                      "\" holds a comma or a double quote, which a save file cannot hold");
        }
    }
}

// "30.dat": names on lines 1 to 5, music files on lines 8 to 16, 25 lines in all.
void check_names_list(Folder& folder) {
    const fs::path file = folder.path("30.dat");
    const auto bytes = folder.required_text("30.dat");
    if (!bytes) return;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() < 25 && start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(platform::sjis_to_utf8(line));
        start = end + 1;
    }
    if (lines.size() < 25) {
        folder.report().error(file, static_cast<int>(lines.size()),
                              "the names list has " + std::to_string(lines.size()) + " lines, it needs 25");
    }
    for (std::size_t i = 0; i < 5 && i < lines.size(); ++i) {
        if (lines[i].find('&') != std::string::npos) {
            folder.report().warning(file, static_cast<int>(i) + 1, "a name holding \"&\" reads as a name marker");
        }
    }
    check_saved_names(folder, lines);
    for (std::size_t i = 7; i < 16 && i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const auto music = folder.required(lines[i], file, line);
        if (!music) continue;
        const auto* data = reinterpret_cast<const std::uint8_t*>(music->data());
        if (platform::midi_length_ms(platform::midi_sequence({data, music->size()})) < 0) {
            folder.report().error(file, line, "music file \"" + lines[i] + "\" is not a Standard MIDI File");
        }
    }
}

void check_pictures(Folder& folder) {
    folder.picture_of_size("wall.bmp", 64, 64);
    folder.picture_of_size("waku.bmp", 48, 48);
    static constexpr int kFaceX[3] = {80, 60, 70};
    static constexpr int kFaceY[3] = {60, 60, 70};
    for (int slot = 0; slot < 4; ++slot) {
        const auto sprite = folder.picture(dat(51 + slot));
        if (sprite && sprite->height > 368) {
            folder.report().error(folder.path(dat(51 + slot)), 0, "sprite is taller than the stage (368)");
        }
        if (slot == 3) continue;
        const auto strip = folder.picture(dat(61 + slot));
        if (!sprite || !strip) continue;
        const int h = static_cast<int>(std::nearbyint(strip->height / 3.0));
        if (kFaceX[slot] + strip->width > sprite->width || kFaceY[slot] + h > sprite->height) {
            folder.report().warning(folder.path(dat(61 + slot)), 0,
                                    "a face of " + std::to_string(strip->width) + " x " + std::to_string(h) +
                                        " at (" + std::to_string(kFaceX[slot]) + ", " +
                                        std::to_string(kFaceY[slot]) + ") does not fit sprite " + dat(51 + slot));
        }
    }
    for (int n = 70; n <= 82; ++n) folder.picture_of_size(dat(n), 640, 320);
    for (int n = 91; n <= 93; ++n) folder.picture_of_size(dat(n), 640, 320);
    std::error_code ec;
    if (fs::file_size(folder.file("94.dat"), ec) > 0 && !ec) folder.picture("94.dat");
    if (const auto cur = folder.required("select.cur")) {
        platform::Cursor cursor;
        std::string error;
        const auto* data = reinterpret_cast<const std::uint8_t*>(cur->data());
        if (!platform::decode_cursor({data, cur->size()}, cursor, error)) {
            folder.report().error(folder.path("select.cur"), 0, "pointer does not decode: " + error);
        }
    }
}

// What only a run through the routes shows.
void check_routes(Folder& folder, const RouteResult& routes) {
    const fs::path file = folder.path("3.dat");
    Report& report = folder.report();
    for (int line : routes.face_without_slot) {
        report.error(file, line, "face change while no character slot 1 to 3 is chosen");
    }
    for (const RouteOutcome& o : routes.outcomes) {
        const std::string route = "route " + picks_text(o.picks);
        switch (o.end) {
        case RouteEnd::Ending:
            if (o.hap != 0) {
                for (int n : {77 + o.hap, 90 + o.hap}) {
                    if (!folder.picture_ok(n)) {
                        report.error(file, o.line, "ending with g_hap " + std::to_string(o.hap) + " (" + route +
                                                       ") needs the picture " + dat(n));
                    }
                }
            }
            break;
        case RouteEnd::Quit:
            break;
        case RouteEnd::LastRecord:
            report.error(file, o.line, route + " ends on the last record instead of \"e\" or \"q\"");
            break;
        case RouteEnd::NoWait:
            report.error(file, o.line, route + " runs on without waiting for the player");
            break;
        case RouteEnd::Endless:
            report.warning(file, o.line, route + " comes back here in the same state: it never ends");
            break;
        case RouteEnd::Stopped:
            report.error(file, o.line, route + " stops the game: " + o.message);
            break;
        }
    }
    if (routes.truncated) {
        report.warning(file, 0, "too many states to follow every route; route findings are partial");
    }
}

}  // namespace

void check_folder(const fs::path& dir, Report& report, RouteResult* routes_out) {
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        report.error(dir, 0, "not a folder");
        return;
    }
    Folder folder(dir, report);
    for (const char* name : {"waku.bmp", "wall.bmp"}) folder.required(name);
    for (const char* name : {"39.dat", "31.dat", "3.dat"}) folder.required_text(name);
    check_names_list(folder);
    check_pictures(folder);

    const auto script = folder.required_text("3.dat");
    const auto choices = folder.required_text("39.dat");
    if (!script || !choices) return;
    Scenario scenario = read_scenario(platform::sjis_to_utf8(*script), platform::sjis_to_utf8(*choices),
                                      folder.path("3.dat"), folder.path("39.dat"), report);
    FolderFacts facts;
    for (int n = 0; n < 1000; ++n) {
        if (n >= 51 && n != 94 && fs::exists(folder.file(dat(n)), ec) && folder.picture_ok(n)) facts.pictures.insert(n);
    }
    check_scenario(scenario, facts, report);
    if (!scenario.loadable) return;
    read_story_facts(dir, facts);
    check_story(scenario, facts, report);

    RouteResult routes = explore_routes(dir);
    if (!routes.loaded) {
        report.error(folder.path("3.dat"), 0, "the scenario does not load: " + routes.load_error);
        return;
    }
    check_routes(folder, routes);
    if (routes_out != nullptr) *routes_out = std::move(routes);
}

}  // namespace dalvo::check
