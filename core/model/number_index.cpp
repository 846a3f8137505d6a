// Open-addressing map of nonzero keys.
#include "core/model/number_index.h"

#include "core/common/mem.h"
#include "core/model/model_parser.h"

namespace {

DWORD Hash(DWORD key) {
  key ^= key >> 16;
  key *= 0x45D9F3Bu;
  key ^= key >> 16;
  return key;
}

DWORD* NewCells(ModelNumberIndex* index, DWORD count) {
  DWORD bytes = count * sizeof(DWORD);
  return static_cast<DWORD*>(index->owner ? ModelParseAlloc(index->owner, bytes) : MemAllocZero(bytes));
}

void Place(DWORD* keys, DWORD* values, DWORD capacity, DWORD key, DWORD value) {
  DWORD i = Hash(key) & (capacity - 1);
  while (keys[i] != 0) i = (i + 1) & (capacity - 1);
  keys[i] = key;
  values[i] = value;
}

bool Grow(ModelNumberIndex* index) {
  DWORD capacity = index->capacity ? index->capacity * 2 : 64;
  if (capacity > 0x04000000) return false;
  DWORD* keys = NewCells(index, capacity);
  DWORD* values = keys ? NewCells(index, capacity) : nullptr;
  if (!keys || !values) {
    if (!index->owner) MemFree(keys);
    return false;
  }
  for (DWORD i = 0; i < index->capacity; ++i) {
    if (index->keys[i]) Place(keys, values, capacity, index->keys[i], index->values[i]);
  }
  if (!index->owner) {
    MemFree(index->keys);
    MemFree(index->values);
  }
  index->keys = keys;
  index->values = values;
  index->capacity = capacity;
  return true;
}

}  // namespace

BOOL ModelNumberIndexAdd(ModelNumberIndex* index, DWORD key, DWORD value) {
  if (!index || key == 0) return FALSE;
  if (ModelNumberIndexFind(index, key, nullptr)) return TRUE;
  // At most half full, so that probes stay short.
  if ((index->count + 1) * 2 > index->capacity && !Grow(index)) return FALSE;
  Place(index->keys, index->values, index->capacity, key, value);
  ++index->count;
  return TRUE;
}

BOOL ModelNumberIndexSet(ModelNumberIndex* index, DWORD key, DWORD value) {
  if (!index || key == 0) return FALSE;
  if (index->capacity) {
    DWORD mask = index->capacity - 1;
    for (DWORD i = Hash(key) & mask; index->keys[i] != 0; i = (i + 1) & mask) {
      if (index->keys[i] == key) {
        index->values[i] = value;
        return TRUE;
      }
    }
  }
  return ModelNumberIndexAdd(index, key, value);
}

BOOL ModelNumberIndexFind(const ModelNumberIndex* index, DWORD key, DWORD* value) {
  if (!index || key == 0 || index->capacity == 0) return FALSE;
  DWORD mask = index->capacity - 1;
  for (DWORD i = Hash(key) & mask;; i = (i + 1) & mask) {
    if (index->keys[i] == 0) return FALSE;
    if (index->keys[i] == key) {
      if (value) *value = index->values[i];
      return TRUE;
    }
  }
}

void ModelNumberIndexFree(ModelNumberIndex* index) {
  if (!index || index->owner) return;
  MemFree(index->keys);
  MemFree(index->values);
  index->keys = index->values = nullptr;
  index->capacity = index->count = 0;
}
