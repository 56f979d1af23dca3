// Assembles the data folder: the text files of content/, the drawn pictures, the
// pointer and the music named by the names list.

#include "mkdata/bmp.h"
#include "mkdata/mkdata.h"
#include "mkdata/music.h"
#include "mkdata/pictures.h"
#include "platform/os/file_read.h"
#include "platform/codec/text_codec.h"

namespace dalvo::mkdata {
namespace {

namespace fs = std::filesystem;

// Lines of UTF-8 text without their ends; a final line end closes the last line.
std::vector<std::string> split_lines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        start = last ? end : end + 1;
    }
    return lines;
}

bool read_file(const fs::path& file, std::string& out, std::string& error) {
    const platform::ReadFault fault = platform::read_whole_file(file, out);
    if (fault != platform::ReadFault::None) {
        error = file.string() + ": " + platform::describe(fault);
        return false;
    }
    return true;
}

// The numbered pictures the game unseals at start and seals again at exit.
void add_sealed(DataFiles& out, int number, const Canvas& picture) {
    Bytes bmp = encode_bmp(picture);
    seal_picture(bmp);
    out[std::to_string(number) + ".dat"] = std::move(bmp);
}

void add_pictures(DataFiles& out) {
    out["wall.bmp"] = encode_bmp(draw_wall_tile());
    out["waku.bmp"] = encode_bmp(draw_frame_parts());
    for (int slot = 0; slot < kSpriteCount; ++slot) add_sealed(out, 51 + slot, draw_sprite(slot));
    for (int slot = 0; slot < kFaceStripCount; ++slot) add_sealed(out, 61 + slot, draw_face_strip(slot));
    for (int n = 0; n < kBackgroundCount; ++n) add_sealed(out, 70 + n, draw_background(n));
    for (int k = 1; k <= kEndingCount; ++k) add_sealed(out, 90 + k, draw_ending_picture(k));
    out["94.dat"] = encode_bmp(draw_title());  // the title picture is never sealed
    out["select.cur"] = make_pointer();
}

// Lines 8 to 16 of the names list name the nine music files.
bool add_music(const std::string& names_list, DataFiles& out, std::string& error) {
    const std::vector<std::string> lines = split_lines(names_list);
    if (lines.size() < 25) {
        error = "30.txt: the names list needs 25 lines, it has " + std::to_string(lines.size());
        return false;
    }
    for (int n = 1; n <= kMusicCount; ++n) {
        const std::string& name = lines[static_cast<std::size_t>(n) + 6];
        if (name.empty() || name.find_first_of("/\\") != std::string::npos || out.contains(name)) {
            error = "30.txt:" + std::to_string(n + 7) + ": music " + std::to_string(n) +
                    " needs a file name of its own, got \"" + name + "\"";
            return false;
        }
        out[name] = encode_smf(compose_piece(n));
    }
    return true;
}

}  // namespace

bool encode_text(std::string_view utf8, Bytes& out, std::string& error) {
    out.clear();
    int number = 0;
    for (const std::string& line : split_lines(utf8)) {
        ++number;
        const std::optional<std::string> sjis = platform::utf8_to_sjis(line);
        if (!sjis) {
            error = "line " + std::to_string(number) + ": a character has no Shift-JIS form";
            return false;
        }
        out.insert(out.end(), sjis->begin(), sjis->end());
        out.push_back('\r');
        out.push_back('\n');
    }
    return true;
}

void seal_picture(Bytes& bmp) {
    if (bmp.size() < 2) return;
    bmp[0] = 'J';
    bmp[1] = 'F';
}

bool build_data(const fs::path& content, DataFiles& out, std::string& error) {
    out.clear();
    std::error_code ec;
    if (!fs::is_directory(content, ec)) {
        error = content.string() + ": no such content folder";
        return false;
    }
    // Every text source becomes <stem>.dat; the folder it sits in is only for authors.
    std::map<std::string, fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(content, ec)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
        const std::string name = entry.path().stem().string() + ".dat";
        if (sources.contains(name)) {
            error = entry.path().string() + ": " + name + " comes from two sources";
            return false;
        }
        sources[name] = entry.path();
    }
    if (ec) {
        error = content.string() + ": " + ec.message();
        return false;
    }
    for (const char* needed : {"3.dat", "39.dat", "30.dat", "31.dat"}) {
        if (!sources.contains(needed)) {
            error = content.string() + ": no source for " + needed;
            return false;
        }
    }
    std::string names_list;
    for (const auto& [name, source] : sources) {
        std::string text;
        if (!read_file(source, text, error)) return false;
        if (!encode_text(text, out[name], error)) {
            error = source.string() + ": " + error;
            return false;
        }
        if (name == "30.dat") names_list = std::move(text);
    }
    if (!add_music(names_list, out, error)) return false;
    add_pictures(out);
    return true;
}

}  // namespace dalvo::mkdata
