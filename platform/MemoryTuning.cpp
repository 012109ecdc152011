#include "platform/MemoryTuning.h"

#include <climits>
#include <cstdint>
#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quastor {

#if defined(__GLIBC__)
namespace {

// The heap's address space taken at once and asked to be backed by 2 MB pages: enough for the
// largest file a reader takes (256 MB) and its parsed tree.
constexpr std::size_t kLargePageHeap = std::size_t{1} << 30;
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

// A page fault costs microseconds, and tens of them on a virtual machine; a 50 MB table file
// and its parsed tree touch some 70,000 pages of 4 KB, 150 of 2 MB. The block only moves the
// end of the heap (nothing is touched, so nothing is used), and the heap keeps that address
// space, asked to be backed by large pages where the system grants them on request.
void AskForLargePages() {
  void* block = std::malloc(kLargePageHeap);
  if (block == nullptr)
    return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(block) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  // A block the heap could not hold is a mapping of its own, gone with the free below.
  if (end > begin && end - reinterpret_cast<std::uintptr_t>(block) >= kLargePageHeap)
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  std::free(block);
}

}  // namespace
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Freed heap stays with the process (more than the block below, which would else be given
  // back at once), and every block comes from the heap, a file's bytes too.
  mallopt(M_TRIM_THRESHOLD, INT_MAX);
  mallopt(M_TOP_PAD, 16 << 20);
  // A sanitizer's allocator standing in for glibc's takes no such advice, and the large block
  // would only cost it time.
  if (mallopt(M_MMAP_THRESHOLD, INT_MAX) == 1)
    AskForLargePages();
#endif
}

}  // namespace quastor
