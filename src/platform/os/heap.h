#pragma once
// The process heap, set up for a program whose memory is mostly large pictures.

namespace dalvo::platform {

// Call first thing in main(). Until finish_startup_heap(), pictures come from one heap
// grown once instead of a mapping each, and that heap's pages come from the system two
// megabytes at a time where the system allows it: the window load writes a dozen
// megabytes of fresh pixels, and each small page would cost a fault.
void prepare_heap();
// Call when the window load is done: from then on large blocks are mapped one by one
// again and go back to the system when freed, which keeps the resident size down.
void finish_startup_heap();

}  // namespace dalvo::platform
