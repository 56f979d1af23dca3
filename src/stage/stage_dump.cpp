#include "stage/stage_dump.h"

#include "engine/game.h"

namespace dalvo {

void dump_stage(const Game& game, platform::JsonWriter& out) {
    const StageState& st = game.stage;
    out.field("g_Effect", st.g_Effect);
    out.array_field("g_DollX", st.g_DollX);
    out.array_field("g_DollY", st.g_DollY);
    out.array_field("Doll_shown", st.Doll_shown);
}

}  // namespace dalvo
