// A fade-out keeps the music going at a silent level. Whatever next reads the master
// level as its reference (a piece starting or stopping, another fade-out) takes the
// faded level for the true one, and every later piece plays at it: each "aJ" needs
// its "aK" on every route before that, and before the story ends.

#include <map>

#include "check/story_checks.h"

namespace dalvo::check {

namespace {

enum class Sound { Other, Reference, FadeOut, FadeIn };

// The action of a sound command as the engine reads it: from its last character.
Sound sound_of(const Record& r) {
    if (r.cmd.empty() || r.cmd.front() != 'a') return Sound::Other;
    const int c = static_cast<unsigned char>(r.cmd.back()) - 48;
    if (c == 0) return Sound::Reference;  // the stop fades out from the level it reads
    int k = c - 16;
    if (k > 32) k -= 32;
    if (k >= 1 && k <= 9) return Sound::Reference;
    if (k == 10) return Sound::FadeOut;
    if (k == 11) return Sound::FadeIn;
    return Sound::Other;
}

}  // namespace

void check_fades(const Scenario& s, const Flow& flow, Report& report) {
    // The state is the index of the open fade-out plus one, 0 when none is open.
    std::map<std::size_t, std::string> found;  // fade-out index -> what follows it
    const auto fault = [&](int open, const std::string& what) {
        found.try_emplace(static_cast<std::size_t>(open - 1), what);
    };
    walk(
        flow, 0,
        [&](std::size_t i, int& open) {
            const Record& r = s.records[i];
            switch (sound_of(r)) {
            case Sound::FadeIn:
                open = 0;
                break;
            case Sound::FadeOut:
                if (open != 0) fault(open, "another fade-out at line " + std::to_string(r.line));
                open = static_cast<int>(i) + 1;
                break;
            case Sound::Reference:
                if (open != 0) fault(open, "\"" + r.cmd + "\" at line " + std::to_string(r.line));
                open = 0;
                break;
            case Sound::Other:
                break;
            }
            return true;
        },
        [&](std::size_t i, int open) {
            if (open != 0) fault(open, "the end at line " + std::to_string(s.records[i].line));
        });
    for (const auto& [index, what] : found) {
        report.warning(s.script_file, s.records[index].line,
                       "fade-out \"" + s.records[index].cmd + "\" reaches " + what +
                           " on some route without a fade-in \"aK\": the silent level stays for every later piece");
    }
}

}  // namespace dalvo::check
