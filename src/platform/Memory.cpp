#include "platform/Memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vendalise {

void keepFreedMemory() {
#if defined(__GLIBC__)
    // Blocks up to 64 MB come from the heap, and up to 512 MB of free heap
    // stay with the program: far more than all its tables together.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
}

} // namespace vendalise
