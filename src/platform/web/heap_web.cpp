// The browser gives the program one growing memory: nothing to tune.

#include "platform/os/heap.h"

namespace dalvo::platform {

void prepare_heap() {}
void finish_startup_heap() {}

}  // namespace dalvo::platform
