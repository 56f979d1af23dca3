// What the story checks need from the folder beyond the scenario.

#include <fstream>
#include <iterator>

#include "check/story_checks.h"
#include "platform/gfx/picture.h"
#include "platform/os/data_folder.h"
#include "platform/os/file_read.h"
#include "platform/codec/text_codec.h"

namespace dalvo::check {

namespace {

constexpr int kStageHeight = 368;
constexpr int kBackgroundBottom = 345;  // the wall band starts here

std::string bytes_of(const platform::DataFolder& data, const std::string& name) {
    std::string bytes;
    data.read(name, bytes);
    return bytes;
}

// A sprite stands on the bottom of the stage; black is transparent.
bool reaches_wall(const std::string& bytes) {
    platform::Surface sprite;
    std::string error;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (bytes.empty() || !platform::decode_picture({data, bytes.size()}, sprite, error)) return false;
    const int first_row = kBackgroundBottom - (kStageHeight - sprite.height());
    for (int y = first_row < 0 ? 0 : first_row; y < sprite.height(); ++y) {
        const platform::Pixel* row = sprite.row(y);
        for (int x = 0; x < sprite.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != 0) return true;
        }
    }
    return false;
}

}  // namespace

void read_story_facts(const std::filesystem::path& dir, FolderFacts& facts) {
    const platform::DataFolder data(dir);
    std::string text = bytes_of(data, "30.dat");
    platform::cut_at_end_mark(text);
    const std::string names = platform::sjis_to_utf8(text);
    std::size_t start = 0;
    for (int i = 1; i <= 5 && start < names.size(); ++i) {
        std::size_t end = names.find('\n', start);
        if (end == std::string::npos) end = names.size();
        std::string line = names.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        facts.names[i] = line;
        start = end + 1;
    }
    for (int k = 0; k < 4; ++k) facts.sprite_reaches_wall[k] = reaches_wall(bytes_of(data, std::to_string(51 + k) + ".dat"));
}

}  // namespace dalvo::check
