// Stage routines not built yet: they change nothing and let the record go on.
#include "stage/stage.h"

namespace dalvo {

void Stage_init(Game&) {}
void Waku_draw(Game&) {}
void Doll_preload(Game&) {}
int Place_change(Game&) { return 0; }
int Doll_change(Game&) { return 0; }
int Face_change(Game&) { return 0; }

}  // namespace dalvo
