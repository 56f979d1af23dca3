// The files of a data folder: presence, the names list, pictures and music.

#include <cmath>
#include <map>
#include <optional>
#include <system_error>

#include "check/check.h"
#include "check/scenario.h"
#include "check/story_checks.h"
#include "platform/codec/audio_formats.h"
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
    Folder(const fs::path& dir, Report& report) : dir_(dir), report_(report) {}

    fs::path path(const std::string& name) const { return dir_ / name; }

    // The file's bytes, or nullopt after reporting it missing or empty.
    std::optional<std::string> required(const std::string& name, const fs::path& from = {}, int line = 0) {
        const fs::path file = path(name);
        const fs::path& where = from.empty() ? file : from;
        std::string bytes;
        const platform::ReadFault fault = platform::read_whole_file(file, bytes);
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
        return fs::is_regular_file(path(name), ec) && picture(name).has_value();
    }

    Report& report() { return report_; }

private:
    fs::path dir_;
    Report& report_;
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
    const auto bytes = folder.required("30.dat");
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
    if (fs::file_size(folder.path("94.dat"), ec) > 0 && !ec) folder.picture("94.dat");
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
    for (const char* name : {"waku.bmp", "wall.bmp", "39.dat", "31.dat", "3.dat"}) folder.required(name);
    check_names_list(folder);
    check_pictures(folder);

    const auto script = folder.required("3.dat");
    const auto choices = folder.required("39.dat");
    if (!script || !choices) return;
    Scenario scenario = read_scenario(platform::sjis_to_utf8(*script), platform::sjis_to_utf8(*choices),
                                      folder.path("3.dat"), folder.path("39.dat"), report);
    FolderFacts facts;
    for (int n = 0; n < 1000; ++n) {
        if (fs::exists(folder.path(dat(n)), ec) && n >= 51 && n != 94 && folder.picture_ok(n)) facts.pictures.insert(n);
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
