// Fixture data folders and a runner for the real program.

#include "support/fixture.h"
#include "support/system.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <mutex>
#include <random>

#include "mkdata/mkdata.h"
#include "platform/codec/text_codec.h"

namespace dalvo::test {
namespace {

namespace fs = std::filesystem;

// Drawing every picture takes a while; a test program builds the folder's files once.
const mkdata::DataFiles& bundled_files() {
    static std::once_flag once;
    static mkdata::DataFiles files;
    std::call_once(once, [] {
        std::string error;
        if (!mkdata::build_data(fs::path(DALVO_SOURCE_DIR) / "content", files, error)) {
            std::cerr << "fixture: cannot build the data folder: " << error << '\n';
            std::abort();
        }
    });
    return files;
}

void write_all(const fs::path& file, const void* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) ADD_FAILURE() << "fixture: cannot write " << file;
}

// A new folder of its own under the system's temporary folder.
fs::path fresh_temp_dir(const char* prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    static std::mutex lock;
    const std::lock_guard<std::mutex> hold(lock);
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = fs::temp_directory_path(ec) / (prefix + std::to_string(random()));
        if (fs::create_directory(dir, ec)) return dir;
    }
    std::cerr << "fixture: cannot make a temporary folder: " << ec.message() << '\n';
    std::abort();
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    set_env(name_, value);
}

ScopedEnv::~ScopedEnv() { set_env(name_, old_); }

namespace {
// Marks a home made by a test: a developer's own XDG variables or Windows' APPDATA are
// always set, and must never be taken for one.
constexpr const char* kPlayerHomeMark = "DALVO_TEST_PLAYER_HOME";
}  // namespace

PlayerHome::PlayerHome(const fs::path& dir) {
#ifdef _WIN32
    data_.emplace("APPDATA", dir.string());
#else
    data_.emplace("XDG_DATA_HOME", dir.string());
    config_.emplace("XDG_CONFIG_HOME", dir.string());
#endif
    marker_.emplace(kPlayerHomeMark, dir.string());
}

bool PlayerHome::active() { return std::getenv(kPlayerHomeMark) != nullptr; }

ScratchFolder::ScratchFolder() : path_(fresh_temp_dir("dalvo-fixture-")) {}

FixtureFolder::FixtureFolder() {
    for (const auto& [name, bytes] : bundled_files()) write_all(file(name), bytes.data(), bytes.size());
}

ScratchFolder::~ScratchFolder() {
    if (std::getenv("DALVO_KEEP_FIXTURES") != nullptr) {
        std::cerr << "fixture kept: " << path_.string() << '\n';
        return;
    }
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void FixtureFolder::write_text(std::string_view name, std::string_view utf8) {
    mkdata::Bytes bytes;
    std::string error;
    if (!mkdata::encode_text(utf8, bytes, error)) {
        ADD_FAILURE() << "fixture: " << name << ": " << error;
        return;
    }
    write_bytes(name, bytes);
}

void FixtureFolder::write_bytes(std::string_view name, const std::vector<std::uint8_t>& bytes) {
    write_all(file(name), bytes.data(), bytes.size());
}

void FixtureFolder::write_bytes(std::string_view name, std::string_view bytes) {
    write_all(file(name), bytes.data(), bytes.size());
}

void FixtureFolder::remove(std::string_view name) {
    std::error_code ec;
    fs::remove(file(name), ec);
}

void FixtureFolder::upper_case_names() {
    for (const auto& e : fs::directory_iterator(path())) {
        std::string name = e.path().filename().string();
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        fs::rename(e.path(), file(name));
    }
}

std::vector<std::uint8_t> FixtureFolder::read_bytes(std::string_view name) const {
    const std::string s = read_file(file(name));
    return {s.begin(), s.end()};
}

std::string FixtureFolder::signature(std::string_view name) const { return read_file(file(name)).substr(0, 2); }

std::string FixtureFolder::read_text(std::string_view name) const {
    return platform::sjis_to_utf8(read_file(file(name)));
}

RunResult run_dalvo(const std::vector<std::string>& args) {
    // Both streams go to files, so that neither can fill a pipe and stall the program.
    const fs::path dir = fresh_temp_dir("dalvo-run-");
    std::optional<ScopedEnv> video, audio;
    if (std::getenv("SDL_VIDEODRIVER") == nullptr) video.emplace("SDL_VIDEODRIVER", "dummy");
    if (std::getenv("SDL_AUDIODRIVER") == nullptr) audio.emplace("SDL_AUDIODRIVER", "dummy");
    // The player's folders are the test's own when it set them, else the run's, gone after it.
    std::optional<PlayerHome> home;
    if (!PlayerHome::active()) home.emplace(dir / "home");
    const int code = run_program(fs::path(DALVO_BINARY_DIR) / "dalvo", args, dir / "out", dir / "err");
    // Text output ends its lines with CR LF on Windows.
    const auto text = [](std::string s) {
        s = std::regex_replace(s, std::regex("\r\n"), "\n");
        return s;
    };
    RunResult result{code, text(read_file(dir / "out")), text(read_file(dir / "err"))};
    std::error_code ec;
    fs::remove_all(dir, ec);
    return result;
}

RunResult play_dalvo(const fs::path& data, const fs::path& input, const fs::path& out,
                     std::vector<std::string> more) {
    // Paths as UTF-8, as the program reads its arguments on every system.
    const auto utf8 = [](const fs::path& p) {
        const std::u8string s = p.u8string();
        return std::string(s.begin(), s.end());
    };
    more.insert(more.begin(), {"--headless", "--data", utf8(data), "--input", utf8(input), "--out", utf8(out)});
    return run_dalvo(more);
}

std::string without_time(const std::string& dump) {
    return std::regex_replace(dump, std::regex(R"("time_ms":\d+,)"), "");
}

std::vector<std::string> read_lines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace dalvo::test
