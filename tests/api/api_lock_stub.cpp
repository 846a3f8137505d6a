// The tests of the interface's own code run without zemsexc's process attach: no lock.
#include "exclude/exc_lock.h"

CRITICAL_SECTION* ExcApiLock() { return nullptr; }
