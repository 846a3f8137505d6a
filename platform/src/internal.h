// Helpers shared by the parts of the simulated machine. Not visible to driver code.
#pragma once
#include <string>
#include "platform/win32.h"

namespace winsim {

// UTF-16 <-> UTF-8 for host paths and persisted text (invalid units become U+FFFD).
std::string ToUtf8(const WCHAR* text, size_t count = size_t(-1));
std::u16string ToUtf16(const std::string& text);

// Length of a terminated wide text.
size_t WideLength(const WCHAR* text);

// Called by SimSetMachineRoot after the root changed: each part that caches machine state
// registers one to drop it. Hooks run in registration order, under no lock of their own.
void RegisterResetHook(void (*hook)());

// The machine root as a host path without trailing '/'.
std::string RootPath();

}  // namespace winsim
