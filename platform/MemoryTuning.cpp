#include "platform/MemoryTuning.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quastor {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Up to 128 MB of free heap stay with the process, and every block up to 32 MB (the most
  // glibc takes) comes from the heap.
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

}  // namespace quastor
