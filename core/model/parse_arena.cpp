// The parse arena.
#include "core/model/parse_arena.h"

#include "core/common/mem.h"
#include "core/model/model_parser.h"

struct ModelArenaChunk {
  ModelArenaChunk* next;
  DWORD size;
  DWORD used;
  // data follows
};

namespace {

constexpr DWORD kChunkSize = 64 * 1024;
constexpr DWORD kMaxAlloc = 0x40000000;

BYTE* ChunkData(ModelArenaChunk* chunk) { return reinterpret_cast<BYTE*>(chunk + 1); }

}  // namespace

void* ModelArenaAlloc(ModelArenaChunk** arena, DWORD size) {
  if (!arena || size == 0 || size > kMaxAlloc) return nullptr;
  size = (size + 3u) & ~3u;
  ModelArenaChunk* chunk = *arena;
  if (!chunk || chunk->size - chunk->used < size) {
    DWORD capacity = size > kChunkSize / 4 ? size : kChunkSize;
    chunk = static_cast<ModelArenaChunk*>(MemAllocZero(sizeof(ModelArenaChunk) + capacity));
    if (!chunk) return nullptr;
    chunk->size = capacity;
    if (capacity == size && *arena) {
      // A large block gets a chunk of its own behind the current one, which keeps its room.
      chunk->next = (*arena)->next;
      (*arena)->next = chunk;
      chunk->used = size;
      return ChunkData(chunk);
    }
    chunk->next = *arena;
    *arena = chunk;
  }
  void* block = ChunkData(chunk) + chunk->used;
  chunk->used += size;
  return block;
}

void ModelArenaFree(ModelArenaChunk** arena) {
  if (!arena) return;
  ModelArenaChunk* chunk = *arena;
  while (chunk) {
    ModelArenaChunk* next = chunk->next;
    MemFree(chunk);
    chunk = next;
  }
  *arena = nullptr;
}

void* ModelParseAlloc(ModelParseState* state, DWORD size) {
  return state ? ModelArenaAlloc(&state->arena, size) : nullptr;
}
