// Block allocator: the platform hint for huge pages on large blocks.
#include "gamescript/gs_block_memory.h"

#include <sys/mman.h>

namespace Utils {

void BlockMemory::AdviseHuge(void* memory, size_t size) {
#ifdef MADV_HUGEPAGE
  madvise(memory, size, MADV_HUGEPAGE);  // only a hint: failure changes nothing
#else
  (void)memory;
  (void)size;
#endif
}

}  // namespace Utils
