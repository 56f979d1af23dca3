#pragma once
// What the game's fuzz targets share: a quiet headless game whose message boxes go
// nowhere, its data folder an empty scratch folder of its own.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>
#include <system_error>
#include <unistd.h>

#include "engine/game.h"
#include "platform/platform.h"

namespace dalvo::fuzz {

// A stream that drops everything: headless message boxes write to standard error,
// and a fuzzer prints nothing but its findings.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

inline void silence_stderr() {
    static NullBuffer null;
    std::cerr.rdbuf(&null);
}

// A folder that lives as long as the process, in memory where the system has a memory
// file system. The readers take the input as bytes; the folder stays empty, so the
// orderly exit after a data fault finds no picture to seal.
class ScratchFolder {
public:
    ScratchFolder() {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/dalvo-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) {
                path_ = pattern;
                break;
            }
        }
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline const std::filesystem::path& scratch_folder() {
    static const ScratchFolder folder;
    return folder.path();
}

// One game for the whole run, its data folder the scratch folder. The readers reset
// the tables they fill, so the game can be reused input after input.
inline Game& shared_game() {
    static std::unique_ptr<platform::PlatformSet> set = [] {
        silence_stderr();
        platform::PlatformOptions options;
        options.headless = true;
        return platform::make_headless_platform(options);
    }();
    static Game game = [] {
        GameOptions options;
        options.data_dir = scratch_folder();
        options.program_dir = scratch_folder();
        return Game(set->platform(), options);
    }();
    game.g_DataPath = scratch_folder();
    game.data = platform::DataFolder(scratch_folder());
    return game;
}

}  // namespace dalvo::fuzz
