// The choice table "39.dat" on any bytes, over a small fixed script.

#include "engine/game.h"
#include "engine/scenario_loader.h"
#include "fuzz_support.h"
#include "platform/gfx/font.h"

namespace {

// The option labels as a choice lays them out: each sized to its text without the
// blanks around it, an empty or blank label to no width at all.
void lay_out_labels(dalvo::Game& game) {
    dalvo::platform::Control& label = *game.ui.SelTxt[0];
    for (std::int32_t k = 0; k <= game.g.g_SctMax && k < dalvo::kSctMax; ++k) {
        const std::string& text = game.g.g_SctTable[k].Label;
        const auto first = text.find_first_not_of(' ');
        const std::string trimmed =
            first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
        label.move(label.left, label.top, dalvo::platform::text_width(label.font, trimmed),
                   dalvo::platform::text_height(label.font));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dalvo::Game& game = dalvo::fuzz::shared_game();
    const std::string_view choices(reinterpret_cast<const char*>(data), size);
    try {
        dalvo::Load_scenario(game,
                             "1001,,,,,,,0,a,,,,\r\n1002,s,,,,,,,2,,,,\r\n"
                             "1003,q,,,,,,,,,,,\r\n1003,,,,,,,,,,,,\r\n",
                             choices);
        // The lookup the choice command makes, on every group the table names.
        for (std::int32_t k = 0; k <= game.g.g_SctMax; ++k) dalvo::Find_sct(game, game.g.g_SctTable[k].Sct);
        lay_out_labels(game);
    } catch (const dalvo::platform::ProgramEnd&) {
    }
    return 0;
}
