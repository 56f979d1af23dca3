#pragma once
// The scenario as the checker sees it: every line of "3.dat" and "39.dat" read on its
// own, so that one broken line is reported without hiding the faults after it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check/report.h"

namespace dalvo::check {

// One kept record of "3.dat"; text fields trimmed as the interpreter trims them.
struct Record {
    int line = 0;
    std::int16_t scene = 0;
    bool scene_ok = false;
    std::string cmd;
    bool has_target = false;
    std::int16_t target = 0;
    bool target_ok = false;
    std::string place, doll, face, speaker, text, arg1, arg3;
};

// One line of "39.dat".
struct ChoiceLine {
    int line = 0;
    std::int16_t group = 0;
    std::int16_t target = 0;
    bool ok = false;  // both numbers converted
};

struct Scenario {
    std::filesystem::path script_file;
    std::filesystem::path choice_file;
    std::vector<Record> records;
    std::vector<ChoiceLine> choices;
    std::set<std::int16_t> scenes;
    // The engine's loader would accept both files as they stand.
    bool loadable = true;
};

// Reads the decoded text of both files; faults of a line's own go to `report`.
Scenario read_scenario(std::string_view script_text, std::string_view choice_text,
                       const std::filesystem::path& script_file,
                       const std::filesystem::path& choice_file, Report& report);

// What the records need from the rest of the folder.
struct FolderFacts {
    std::set<int> pictures;  // numbers n whose "n.dat" exists and decodes
    std::array<std::string, 6> names;  // "&0".."&5" as a new game starts
    std::array<bool, 4> sprite_reaches_wall{};  // slot 1..4 shows pixels below the background
};

// Records against each other, against the choice table and against the folder.
void check_scenario(const Scenario& scenario, const FolderFacts& folder, Report& report);

// The option count of a choice record: the leading decimal number of its text.
int option_count(const std::string& text);

}  // namespace dalvo::check
