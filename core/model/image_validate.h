// The check a stored image passes before anything follows its links: a cache file may have
// been cut short by a crash or written by anyone who can write the driver folder.
#pragma once
#include "core/model/model_image.h"
#include "platform/win32.h"

// Largest stored image a cache file may hold; larger files are refused before any allocation.
// It is the largest image the builder makes, so every image built can be cached.
constexpr DWORD kModelCacheMaxSize = kModelImageMaxSize;

// 1 when the bytes are a stored image whose whole structure can be fixed up and read: sizes,
// version text, every link inside the block with room for its record, texts ending inside,
// counts and arrays, type words, slots, shared records only where the builder shares them,
// judges that end and validate, no list that loops, command groups no deeper than the parser
// nests them. 0 otherwise. The bytes must be 4-aligned.
int ModelValidateStoredImage(const BYTE* bytes, DWORD size);
