#pragma once
// Test data folders built by the same code as dalvo-mkdata, and running the real program.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dalvo::test {

// A fresh, empty folder under the system's temporary folder of the test's own (ctest runs
// tests side by side). Removed by the destructor unless DALVO_KEEP_FIXTURES is set (then
// its path is printed so a failing run can be looked at).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A complete, playable data folder in a scratch folder, made from the bundled content.
class FixtureFolder : public ScratchFolder {
public:
    FixtureFolder();

    // Stores UTF-8 text the way the game's text files are kept: Shift-JIS, CR LF line
    // ends (LF or CR LF in `utf8` both become CR LF). Fails the test on a character
    // that has no Shift-JIS form.
    void write_text(std::string_view name, std::string_view utf8);
    void write_bytes(std::string_view name, const std::vector<std::uint8_t>& bytes);
    void write_bytes(std::string_view name, std::string_view bytes);
    void remove(std::string_view name);
    // Every name in upper case, as a CD-ROM without long names gives the folder.
    void upper_case_names();
    // The scenario "3.dat" and its choice table "39.dat".
    void write_scenario(std::string_view script, std::string_view choices) {
        write_text("3.dat", script);
        write_text("39.dat", choices);
    }

    std::vector<std::uint8_t> read_bytes(std::string_view name) const;
    // The first two bytes of a file: "BM" for a bitmap, "JF" for a sealed one.
    std::string signature(std::string_view name) const;
    // A text file of the folder decoded from Shift-JIS; CR LF stays as it is.
    std::string read_text(std::string_view name) const;
};

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// The player's own folders (saved games of a read-only folder, read text, settings) under
// `dir` for the life of the object: "dalvo/settings.ini" and "dalvo/<folder>-<hash>/" there
// on every system, through the XDG bases on the desktop and APPDATA on Windows.
class PlayerHome {
public:
    explicit PlayerHome(const std::filesystem::path& dir);
    // True while a test has one: the rig's runs then use it instead of one of their own.
    static bool active();

private:
    std::optional<ScopedEnv> data_, config_, marker_;
};

// `path` (a folder or one file) made read-only for this test program and the games it
// starts, in a mount namespace of the program's own, as a mounted CD image or an
// installed copy is. Needs root; `refused()` says why it could not be made.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const std::filesystem::path& path);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;
    // Empty when mounted, else why not.
    const std::string& refused() const { return why_; }

private:
    std::filesystem::path path_;
    std::string why_;
};

struct RunResult {
    int exit_code = -1;  // -1 when the program did not exit normally (signal)
    std::string out;     // standard output
    std::string err;     // standard error
};

// Runs DALVO_BINARY_DIR/dalvo with `args` (SDL_VIDEODRIVER and SDL_AUDIODRIVER set to
// dummy unless already set) and waits for it to end.
RunResult run_dalvo(const std::vector<std::string>& args);
// The same, headless on the folder `data`, playing `input` with its dumps in `out`.
RunResult play_dalvo(const std::filesystem::path& data, const std::filesystem::path& input,
                     const std::filesystem::path& out, std::vector<std::string> more = {});
// A dump without its clock: a replay runs on its own time.
std::string without_time(const std::string& dump);

// The lines of a text file (a --trace file: one JSON object per line), without line ends.
std::vector<std::string> read_lines(const std::filesystem::path& file);
// A whole file as it is (a dump's JSON). Empty when it cannot be read.
std::string read_file(const std::filesystem::path& file);

}  // namespace dalvo::test
