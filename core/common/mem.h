// Zero-filled memory blocks from the global heap.
#pragma once
#include "platform/win32.h"

// A block of `bytes` bytes, all zero, or null when the heap is exhausted. Free with MemFree.
void* MemAllocZero(SIZE_T bytes);
// Frees a block of MemAllocZero or of the spooler queries; null is ignored.
void MemFree(void* block);
