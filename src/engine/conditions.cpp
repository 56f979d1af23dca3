#include "engine/conditions.h"

#include <cstdint>
#include <string>

#include "engine/game.h"
#include "engine/interpreter.h"
#include "engine/scenario_loader.h"
#include "engine/startup.h"
#include "platform/codec/text_codec.h"

namespace dalvo {

namespace {

// The command's digit: the last character of `g_Cmd`.
char digit_of(const Game& game) {
    const std::string& cmd = game.g.g_Cmd;
    return cmd.empty() ? '\0' : cmd.back();
}

// The expression: first three characters name the group, last three the sub-code.
struct Expression {
    std::string group;
    std::string sub;
};

Expression expression_of(const Game& game) {
    const std::string& text = game.g.g_Text;
    const int n = platform::char_count(text);
    return {platform::char_substr(text, 0, 3), platform::char_substr(text, n < 3 ? 0 : n - 3)};
}

std::int16_t number_of(Game& game, const std::string& field) {
    std::int16_t value = 0;
    switch (parse_int16(field, value)) {
    case NumberError::None:
        break;
    case NumberError::OutOfRange:
        record_fault(game, "数値が16ビットの範囲を超えています「" + field + "」");
    case NumberError::NotNumber:
        record_fault(game, "数値ではありません「" + field + "」");
    }
    return value;
}

void report(Game& game, const char* text) {
    game.p.host.message_box(text, platform::MsgButtons::Ok);
}

int jump_if(Game& game, bool holds) {
    if (!holds) return kNext;
    Jump_target(game);
    return kRunAtPos;
}

// The parameter "i1" tests; nullptr for names it does not know.
std::int16_t* tested_by_i(EngineState& g, const Expression& e) {
    if (e.group == "kou") {
        if (e.sub == "iku") return &g.g_kou_iku;
        if (e.sub == "eki") return &g.g_kou_eki;
        if (e.sub == "umi") return &g.g_kou_umi;
        return nullptr;
    }
    if (e.group == "hat") {
        if (e.sub == "eki") return &g.g_hat_eki;
        if (e.sub == "umi") return &g.g_hat_umi;
        return nullptr;
    }
    if (e.group == "kae") return &g.g_kae;
    if (e.group == "chi") return &g.g_chi;
    if (e.group == "hay") return &g.g_hay;
    return nullptr;
}

// The parameter "p2" changes; nullptr for names it does not know.
std::int16_t* changed_by_p(EngineState& g, const Expression& e) {
    if (e.group == "kou") {
        if (e.sub == "iku") return &g.g_kou_iku;
        if (e.sub == "eki") return &g.g_kou_eki;
        if (e.sub == "umi") return &g.g_kou_umi;
        return nullptr;
    }
    if (e.group == "kok") return &g.g_kok;
    if (e.group == "eig") return &g.g_eig;
    if (e.group == "suu") return &g.g_suu;
    if (e.group == "ben") return &g.g_ben;
    if (e.group == "hap") return &g.g_hap;
    if (e.group == "chi") return &g.g_chi;
    if (e.group == "hay") return &g.g_hay;
    if (e.group == "kae") return e.sub == "umi" ? &g.g_kae : nullptr;
    if (e.group == "hat") {
        if (e.sub == "eki") return &g.g_hat_eki;
        if (e.sub == "umi") return &g.g_hat_umi;
    }
    return nullptr;
}

}  // namespace

int Cond_c(Game& game) {
    EngineState& g = game.g;
    const Expression e = expression_of(game);
    switch (digit_of(game)) {
    case '1':
        if (e.group != "ben") return kNext;
        return jump_if(game, g.g_ben >= number_of(game, g.g_Arg1));
    case '2': {
        std::int16_t* param = e.group == "kok"   ? &g.g_kok
                              : e.group == "eig" ? &g.g_eig
                              : e.group == "suu" ? &g.g_suu
                                                 : nullptr;
        if (param == nullptr) return kNext;
        return jump_if(game, *param < number_of(game, g.g_Arg1));
    }
    default:
        report(game, "error(c?)");
        return kNext;
    }
}

int Cond_i(Game& game) {
    EngineState& g = game.g;
    if (digit_of(game) != '1') {
        report(game, "error(i?)");
        return kNext;
    }
    const std::int16_t* param = tested_by_i(g, expression_of(game));
    if (param == nullptr) return kNext;
    return jump_if(game, *param == number_of(game, g.g_Arg1));
}

int Cond_d(Game& game) {
    EngineState& g = game.g;
    const char digit = digit_of(game);
    const std::string known = "012349";
    if (digit == '\0' || known.find(digit) == std::string::npos) {
        report(game, "error(d?)");
        return kNext;
    }
    const std::int16_t v = number_of(game, g.g_Text);
    const std::int16_t day = g.g_Day;
    switch (digit) {
    case '0': return jump_if(game, v == day);
    case '1': return jump_if(game, v < day);
    case '2': return jump_if(game, v <= day);
    case '3': return jump_if(game, v > day);
    case '4': return jump_if(game, v >= day);
    default: {
        const std::int16_t w = number_of(game, g.g_Arg1);
        return jump_if(game, v <= day && w <= day);
    }
    }
}

void Param_p(Game& game) {
    EngineState& g = game.g;
    if (digit_of(game) != '2') {
        report(game, "error(p?)");
        return;
    }
    const Expression e = expression_of(game);
    std::int16_t* param = changed_by_p(g, e);
    if (param == nullptr) return;
    const int sum = *param + number_of(game, g.g_Arg1);
    if (sum < -32768 || sum > 32767) {
        record_fault(game, "パラメータ " + g.g_Text + " が16ビットの範囲を超えます(" +
                               std::to_string(*param) + " + " + g.g_Arg1 + ")");
    }
    *param = static_cast<std::int16_t>(sum);
}

}  // namespace dalvo
