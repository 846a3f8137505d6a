// Field stores of the record encoders. Both builds run on little-endian x86, so multi-byte
// fields are stored as they lie in memory.
#pragma once
#include <string.h>

#include "platform/win32.h"

template <class T>
inline void RecPut(BYTE* at, T value) {
  memcpy(at, &value, sizeof value);
}

// A RECTL as four int32: left, top, right, bottom.
inline void RecPutRect(BYTE* at, const RECTL& r) {
  RecPut<LONG>(at, r.left);
  RecPut<LONG>(at + 4, r.top);
  RecPut<LONG>(at + 8, r.right);
  RecPut<LONG>(at + 12, r.bottom);
}
