// A small map from nonzero 32-bit keys to 32-bit values (open addressing), for the lookups of
// the rules compiler and the image builder: rule numbers to records or offsets, symbol ids to
// Exclusive records, shared value records to their offsets. Lookups and inserts are constant
// time on average, so compiling stays linear in the size of the description.
#pragma once
#include "platform/win32.h"

struct ModelParseState;

struct ModelNumberIndex {
  DWORD* keys;  // 0 marks a free cell
  DWORD* values;
  DWORD capacity;  // a power of two, or 0
  DWORD count;
  ModelParseState* owner;  // memory comes from this parse state; null: from the heap
};

// Adds key -> value unless the key is present already (the first entry stays). FALSE for key
// 0 or when no memory can be had.
BOOL ModelNumberIndexAdd(ModelNumberIndex* index, DWORD key, DWORD value);
// Adds key -> value, or gives a present key this value. FALSE as for Add.
BOOL ModelNumberIndexSet(ModelNumberIndex* index, DWORD key, DWORD value);
// TRUE with the value of the key.
BOOL ModelNumberIndexFind(const ModelNumberIndex* index, DWORD key, DWORD* value);
// Frees the cells of a heap index (an owned index goes with its parse state).
void ModelNumberIndexFree(ModelNumberIndex* index);
