// Counts the heap blocks the driver holds: every GlobalAlloc and GlobalFree of the test program
// passes through a counter on its way to the simulated machine. Leak detection cannot run
// under the emulator, so the font-table tests compare these counts instead.
#pragma once

namespace zems_test {

// Blocks allocated and not yet freed since the program started.
long HeapLiveBlocks();

}  // namespace zems_test
