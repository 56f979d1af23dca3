// The record of read text: a text file of record numbers, one a line, written whole
// through a temporary file so that a crash never leaves half of it.

#include "engine/read_text.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/codec/fnv1a.h"

namespace dalvo {

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kMostRecords = 1 << 20;  // far above any scenario; a bad line is skipped

std::string hex(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

}  // namespace

void ReadText::set_story(std::string_view scenario_bytes) {
    const std::uint64_t story = platform::fnv1a(scenario_bytes);
    if (story == story_ && loaded_) return;
    story_ = story;
    loaded_ = false;
    changed_ = false;
    read_.clear();
}

fs::path ReadText::file(const fs::path& folder, std::uint64_t story) {
    return folder / ("read-" + hex(story) + ".txt");
}

void ReadText::load(const fs::path& folder) {
    loaded_ = true;
    std::ifstream in(file(folder, story_), std::ios::binary);
    // A missing or damaged file is only text not yet known as read: skipping stops sooner.
    for (std::string line; std::getline(in, line);) {
        std::int32_t n = -1;
        const auto res = std::from_chars(line.data(), line.data() + line.size(), n);
        if (res.ec != std::errc() || n < 0 || n >= kMostRecords) continue;
        if (static_cast<std::size_t>(n) >= read_.size()) read_.resize(n + 1);
        read_[n] = true;
    }
}

bool ReadText::is_read(const fs::path& folder, std::int32_t record) {
    if (!loaded_) load(folder);
    return record >= 0 && static_cast<std::size_t>(record) < read_.size() && read_[record];
}

void ReadText::mark(const fs::path& folder, std::int32_t record) {
    if (record < 0 || record >= kMostRecords || is_read(folder, record)) return;
    if (static_cast<std::size_t>(record) >= read_.size()) read_.resize(record + 1);
    read_[record] = true;
    changed_ = true;
}

bool ReadText::save(const fs::path& folder, std::string& error) {
    if (!changed_) return true;
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path target = file(folder, story_);
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < read_.size(); ++i) {
            if (read_[i]) out << i << '\n';
        }
        out.flush();
        if (!out) {
            error = temp.string() + ": cannot write";
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        error = target.string() + ": " + ec.message();
        return false;
    }
    changed_ = false;
    return true;
}

}  // namespace dalvo
