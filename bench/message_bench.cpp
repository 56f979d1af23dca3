// Skipping through messages: drawing, jump scrolling and the history, no waits.

#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/game.h"
#include "engine/message.h"
#include "platform/gfx/font.h"
#include "platform/platform.h"

namespace {

void BM_SkippedMessages(benchmark::State& state) {
    auto set = dalvo::platform::make_headless_platform({});
    dalvo::Game game(set->platform(), dalvo::GameOptions{});
    const dalvo::platform::FontSpec font{"ＭＳ ゴシック", 11, true, false};
    game.ui.TxtFrame1[1]->font = font;
    game.w.Line_height = static_cast<std::int16_t>(std::lround(dalvo::platform::granted_points(11) + 5));
    game.w.LineNo = -1;
    game.g.g_MsgSpeed = 0;
    const std::string texts[] = {
        "今日はいい天気だね。どこかへ出かけようか。",
        "そうだね、海にでも行ってみようかな。でもちょっと寒いかもしれない。",
        "……",
    };
    int i = 0;
    for (auto _ : state) {
        game.g.g_Speaker = static_cast<std::int16_t>(i % 6);
        game.g.g_Text = texts[i % 3];
        dalvo::Msg_speaker(game);
        ++i;
    }
    state.counters["messages"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SkippedMessages);

}  // namespace
