// The process heap: one large arena backed by huge pages for the start-up.

#include "platform/os/heap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace dalvo::platform {

#if defined(__linux__) && defined(__GLIBC__)

namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = kKiB * kKiB;
constexpr std::size_t kHugePage = 2 * kMiB;
// More than the window load makes (about 16 MiB, most of it pictures).
constexpr std::size_t kStartupArena = 24 * kMiB;
// The allocator's own defaults, restored after the start.
constexpr int kDefaultThreshold = 128 * kKiB;

std::uintptr_t align_up(std::uintptr_t v, std::size_t a) { return (v + a - 1) & ~(a - 1); }
std::uintptr_t align_down(std::uintptr_t v, std::size_t a) { return v & ~(a - 1); }

}  // namespace

void prepare_heap() {
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kStartupArena));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kStartupArena));
    mallopt(M_TOP_PAD, static_cast<int>(kStartupArena));

    // Grow the heap once now, then ask for huge pages over the whole aligned part of it.
    const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // Through a volatile, so that the compiler cannot drop the pair.
    void* volatile grow = std::malloc(kMiB);
    std::free(grow);
    const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = align_up(before, kHugePage);
    const std::uintptr_t last = align_down(after, kHugePage);
    if (before == static_cast<std::uintptr_t>(-1) || last <= first) return;
    (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void finish_startup_heap() {
    mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
    mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
    mallopt(M_TOP_PAD, kDefaultThreshold);
}

#else

void prepare_heap() {}
void finish_startup_heap() {}

#endif

}  // namespace dalvo::platform
