// The PDEV's private pool: every block the PDEV allocates is linked into it, so destroying the
// pool frees all of them at once.
#include "gr2k/pdev.h"

namespace {
struct PoolBlock {
  PoolBlock* next;
};
}  // namespace

PdevPool* PdevPoolCreate() {
  PdevPool* pool = static_cast<PdevPool*>(GlobalAlloc(GMEM_FIXED, sizeof(PdevPool)));
  if (pool) pool->head = nullptr;
  return pool;
}

void* PdevPoolAlloc(PdevPool* pool, DWORD cb) {
  if (!pool || cb > 0x7FFFFFF0u - sizeof(PoolBlock)) return nullptr;
  PoolBlock* block = static_cast<PoolBlock*>(GlobalAlloc(GMEM_FIXED, cb + sizeof(PoolBlock)));
  if (!block) return nullptr;
  block->next = static_cast<PoolBlock*>(pool->head);
  pool->head = block;
  return block + 1;
}

void PdevPoolFree(PdevPool* pool, void* payload) {
  if (!pool || !payload) return;
  PoolBlock** link = reinterpret_cast<PoolBlock**>(&pool->head);
  while (*link) {
    PoolBlock* block = *link;
    if (block + 1 == payload) {
      *link = block->next;
      GlobalFree(block);
      return;
    }
    link = &block->next;
  }
}

void PdevPoolDestroy(PdevPool* pool) {
  if (!pool) return;
  PoolBlock* block = static_cast<PoolBlock*>(pool->head);
  while (block) {
    PoolBlock* next = block->next;
    GlobalFree(block);
    block = next;
  }
  GlobalFree(pool);
}
