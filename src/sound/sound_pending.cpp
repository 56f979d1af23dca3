// Sound routines not built yet: silent.
#include "sound/sound.h"

namespace dalvo {

void Sound_init(Game&) {}
void Sound_unload(Game&) {}
void BGM_stop(Game&) {}
void SE_play(Game&, int) {}
int Cmd_a(Game&) { return 0; }

}  // namespace dalvo
