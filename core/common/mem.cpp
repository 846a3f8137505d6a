// Zero-filled memory blocks from the global heap.
#include "core/common/mem.h"

#include <string.h>

void* MemAllocZero(SIZE_T bytes) {
  void* block = GlobalAlloc(GPTR, bytes);
  // Cleared once more: callers rely on zeroes whatever the heap hands out.
  if (block) memset(block, 0, bytes);
  return block;
}

void MemFree(void* block) {
  if (block) GlobalFree(block);
}
