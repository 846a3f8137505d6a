// The process's cache of driver contexts.
#pragma once

// Empties both tables of the driver-context cache. Called once at process start, before any
// context is cached.
void CtxCacheInit();
