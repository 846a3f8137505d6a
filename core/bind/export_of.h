// An outside DLL's export as its own function type.
#pragma once
#include "platform/win32.h"

template <typename F>
F ExportOf(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
