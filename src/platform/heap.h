#pragma once
// The process heap, set up for a program whose memory is mostly large pictures.

namespace dalvo::platform {

// Call first thing in main(), before the pictures are made. Keeps pictures in one
// grown-once heap instead of a mapping each, and has that heap's pages come from the
// system two megabytes at a time where the system allows it: the window load and every
// scene change write megabytes of fresh pixels, and each small page costs a fault.
// Harmless where the allocator or the system offers none of this.
void prepare_heap();

}  // namespace dalvo::platform
