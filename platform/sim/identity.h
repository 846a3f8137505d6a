// The machine's system identity as the version and user calls read it.
#pragma once
#include "platform/sim.h"

namespace winsim {

// The identity of the current machine root (read again when another process changed it).
SimSystemIdentity CurrentIdentity();

}  // namespace winsim
