// Fixture data folders and a runner for the real program.

#include "support/fixture.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <mutex>

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

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

FixtureFolder::FixtureFolder() {
    std::string pattern = (fs::temp_directory_path() / "dalvo-fixture-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::cerr << "fixture: mkdtemp failed: " << std::strerror(errno) << '\n';
        std::abort();
    }
    path_ = pattern;
    for (const auto& [name, bytes] : bundled_files()) write_all(path_ / name, bytes.data(), bytes.size());
}

FixtureFolder::~FixtureFolder() {
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

std::vector<std::uint8_t> FixtureFolder::read_bytes(std::string_view name) const {
    const std::string s = read_file(file(name));
    return {s.begin(), s.end()};
}

std::string FixtureFolder::signature(std::string_view name) const { return read_file(file(name)).substr(0, 2); }

std::string FixtureFolder::read_text(std::string_view name) const {
    return platform::sjis_to_utf8(read_file(file(name)));
}

RunResult run_dalvo(const std::vector<std::string>& args) {
    // Both streams go to files, so that neither can fill a pipe and stall the program;
    // `exec` lets a signal that ends it show as such.
    std::string dir = (fs::temp_directory_path() / "dalvo-run-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) {
        ADD_FAILURE() << "run_dalvo: mkdtemp failed";
        return {};
    }
    const auto quoted = [](const std::string& s) {
        std::string out = "'";
        for (const char c : s) out.append(c == '\'' ? "'\\''" : std::string(1, c));
        return out.append("'");
    };
    // The player's folders are the test's own when it set them, else the run's, gone after it.
    std::string cmd = "SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} ";
    cmd.append("XDG_DATA_HOME=\"${XDG_DATA_HOME:-").append(dir).append("/share}\" ");
    cmd.append("XDG_CONFIG_HOME=\"${XDG_CONFIG_HOME:-").append(dir).append("/config}\" exec ");
    cmd.append(quoted(std::string(DALVO_BINARY_DIR) + "/dalvo"));
    for (const std::string& a : args) cmd.append(" ").append(quoted(a));
    cmd.append(" >").append(quoted(dir + "/out")).append(" 2>").append(quoted(dir + "/err"));
    const int status = std::system(cmd.c_str());
    RunResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(dir + "/out"), read_file(dir + "/err")};
    std::error_code ec;
    fs::remove_all(dir, ec);
    return result;
}

RunResult play_dalvo(const fs::path& data, const fs::path& input, const fs::path& out,
                     std::vector<std::string> more) {
    more.insert(more.begin(), {"--headless", "--data", data, "--input", input, "--out", out});
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
