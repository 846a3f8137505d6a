// Helpers shared by the kernel32 parts of the simulated machine.
#pragma once
#include <string>

#include "platform/win32.h"

namespace winsim {

// Gives up every mutex the calling thread owns, as abandoned. Runs when a thread ends.
void AbandonThreadMutexes();

}  // namespace winsim
