// Helpers shared by the kernel32 parts of the simulated machine.
#pragma once
#include <string>

#include "platform/win32.h"

namespace winsim {

// Simple case folding of one UTF-16 unit (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic,
// fullwidth Latin): what the case-insensitive comparisons of names need.
WCHAR FoldCase(WCHAR c);

// Gives up every mutex the calling thread owns, as abandoned. Runs when a thread ends.
void AbandonThreadMutexes();

}  // namespace winsim
