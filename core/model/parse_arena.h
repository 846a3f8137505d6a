// The memory of one model-description parse: zeroed blocks carved from large chunks, all freed
// together with the parse state. Every scanner and handler of the parser allocates here.
#pragma once
#include "platform/win32.h"

struct ModelArenaChunk;
struct ModelParseState;

// Zeroed memory from an arena (a list of chunks, null when empty), aligned to 4 bytes; NULL
// for size 0, an oversized request or no memory.
void* ModelArenaAlloc(ModelArenaChunk** arena, DWORD size);
// Frees every chunk and empties the arena.
void ModelArenaFree(ModelArenaChunk** arena);

// Zeroed memory owned by the parse state, aligned to 4 bytes; NULL when none can be had.
void* ModelParseAlloc(ModelParseState* state, DWORD size);
