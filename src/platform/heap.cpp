// The process heap: one large, long-lived arena backed by huge pages where possible.

#include "platform/heap.h"

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

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kHugePage = 2 * kMiB;
// Larger than any picture (a 640 x 480 surface is 1.2 MiB) and than the whole working set.
constexpr std::size_t kArena = 48 * kMiB;

std::uintptr_t align_up(std::uintptr_t v, std::size_t a) { return (v + a - 1) & ~(a - 1); }
std::uintptr_t align_down(std::uintptr_t v, std::size_t a) { return v & ~(a - 1); }

}  // namespace

void prepare_heap() {
    // Pictures come from the heap rather than a mapping each, and freed ones stay there for
    // the next scene: a fresh mapping is faulted in page by page every time.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kArena / 2));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kArena));
    mallopt(M_TOP_PAD, static_cast<int>(kArena));

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

#else

void prepare_heap() {}

#endif

}  // namespace dalvo::platform
