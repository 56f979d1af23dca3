// Fixture data folders and a runner for the real program.

#include "support/fixture.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
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

std::string FixtureFolder::read_text(std::string_view name) const {
    return platform::sjis_to_utf8(read_file(file(name)));
}

RunResult run_dalvo(const std::vector<std::string>& args) {
    RunResult result;
    int out_pipe[2], err_pipe[2];
    if (::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0) {
        ADD_FAILURE() << "run_dalvo: pipe failed";
        return result;
    }
    const std::string program = std::string(DALVO_BINARY_DIR) + "/dalvo";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out_pipe[1], STDOUT_FILENO);
        ::dup2(err_pipe[1], STDERR_FILENO);
        for (int fd : {out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) ::close(fd);
        ::setenv("SDL_VIDEODRIVER", "dummy", 0);
        ::setenv("SDL_AUDIODRIVER", "dummy", 0);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    if (pid < 0) {
        ::close(out_pipe[0]);
        ::close(err_pipe[0]);
        ADD_FAILURE() << "run_dalvo: fork failed";
        return result;
    }
    // Read both streams together so that neither pipe fills and stalls the program.
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open_streams = 2;
    while (open_streams > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_streams;
            }
        }
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
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
