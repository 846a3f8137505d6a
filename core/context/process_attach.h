// Process attach and detach of the core, in the one order every deliverable needs. Each
// DllMain calls these and keeps only what is its own (zemsexc's API lock).
#pragma once
#include "platform/win32.h"

// Keeps the deliverable's module handle (null for a deliverable without resources of its
// own), empties the context cache once per attach and creates the cache locks.
void CoreProcessAttach(HINSTANCE module);
// Frees the compiled-model cache, then destroys every parked context (they point into those
// images and take the cache locks), then deletes the locks and closes the mutex handle.
void CoreProcessDetach();
