// The message window cuts a message every 36 characters, counting the speaker's name
// or the indent of a speaker who goes on. A cut that puts a closing mark or a small
// kana at the start of a line, or leaves one or two characters (and their closing
// marks) alone on the last line, reads badly: the author rewrites the message.

#include <array>
#include <map>
#include <string_view>

#include "check/story_checks.h"
#include "engine/scenario_loader.h"
#include "platform/codec/text_codec.h"

namespace dalvo::check {

namespace {

constexpr int kLineChars = 36;
constexpr int kNameMaxChars = 5;  // the name entry takes up to five characters
constexpr std::string_view kClosing = "。、，．」』）！？";
constexpr std::string_view kSmallKana = "ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ";

bool one_of(std::string_view set, const std::string& ch) {
    return ch.size() > 1 && set.find(ch) != std::string_view::npos;
}
constexpr std::array<const char*, 5> kSpeakerNames{nullptr, "航", "早瀬", "楓", "千登世"};

std::string with_names(const std::string& text, const std::array<std::string, 6>& names) {
    std::string out;
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] == '&' && p + 1 < text.size() && text[p + 1] >= '0' && text[p + 1] <= '5') {
            out += names[text[p + 1] - '0'];
            ++p;
        } else {
            out += text[p];
        }
    }
    return out;
}

// What is wrong with the lines `shown` wraps into, or "" when nothing is.
std::string wrap_fault(const std::string& shown) {
    const int count = platform::char_count(shown);
    if (count <= kLineChars) return {};
    for (int start = kLineChars; start < count; start += kLineChars) {
        const std::string first = platform::char_substr(shown, start, 1);
        if (one_of(kClosing, first) || one_of(kSmallKana, first)) {
            return "wraps with \"" + first + "\" at the start of line " + std::to_string(start / kLineChars + 1);
        }
    }
    // An orphan: one or two characters, with their closing marks, alone on the last line.
    const int rest = count % kLineChars == 0 ? kLineChars : count % kLineChars;
    int words = rest;
    while (words > 0 && one_of(kClosing, platform::char_substr(shown, count - rest + words - 1, 1))) --words;
    if (words >= 1 && words <= 2) {
        return "wraps leaving \"" + platform::char_substr(shown, count - rest, rest) + "\" alone on its last line";
    }
    return {};
}

// Records each badly wrapping message with `names` in `found`, keeping earlier findings.
void find_faults(const Scenario& s, const Flow& flow, const std::array<std::string, 6>& names,
                 const std::string& with, std::map<std::size_t, std::string>& found) {
    // The state is the speaker code times 6 plus the speaker whose name was shown last;
    // codes without a name count as 0, as they show none.
    walk(flow, 0, [&](std::size_t i, int& state) {
        const Record& r = s.records[i];
        int speaker = state / 6, last = state % 6;
        if (!r.speaker.empty()) {
            std::int16_t n = 0;
            speaker = parse_int16(r.speaker, n) == NumberError::None && n >= 1 && n <= 5 ? n : 0;
        }
        bool show = r.place.empty() && r.doll.empty();
        if (!r.face.empty()) show = true;
        if (!r.place.empty()) last = 0;
        const char kind = r.cmd.empty() ? '\0' : r.cmd.front();
        if (kind == 'r') last = 0;
        if (kind == 'g' || kind == 'a' || kind == 's' || kind == 'p' || kind == 'i' || kind == 'c' ||
            kind == 'd' || kind == 'e' || kind == 'q' || kind == 'o') {
            show = false;
        }
        // A new half-day and a pick start the next page with the name shown again.
        if (r.cmd == "g1" || kind == 's') last = 0;
        if (show && !r.text.empty()) {
            std::string shown = r.arg3 == "1" ? with_names(r.text, names) : r.text;
            if (speaker != 0) {
                const std::string name = speaker == 1 ? names[2] : kSpeakerNames[speaker - 1];
                if (speaker != last) {
                    shown = name + (platform::char_count(name) >= 2 ? "：" : "　：") + shown;
                    last = speaker;
                } else {
                    shown = "　　　" + shown;
                }
            }
            if (std::string fault = wrap_fault(shown); !fault.empty()) found.try_emplace(i, fault + with);
        }
        state = speaker * 6 + last;
        return true;
    });
}

}  // namespace

void check_wraps(const Scenario& s, const Flow& flow, const FolderFacts& folder, Report& report) {
    std::map<std::size_t, std::string> found;
    find_faults(s, flow, folder.names, "", found);
    // The player may type longer names than the defaults, up to the entry's limit.
    std::array<std::string, 6> longest = folder.names;
    std::string long_name;
    for (int k = 0; k < kNameMaxChars; ++k) long_name += "名";
    longest[1] = longest[2] = long_name;
    find_faults(s, flow, longest, " with a player's name of " + std::to_string(kNameMaxChars) + " characters", found);
    for (const auto& [index, fault] : found) report.warning(s.script_file, s.records[index].line, "message " + fault);
}

}  // namespace dalvo::check
