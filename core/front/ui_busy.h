// The printer-interface front's busy count: DEVMODE conversion, the printer-event handlers for
// initialisation and added connections, and the housekeeping raise it while they work; every
// driver context opened meanwhile is marked (open kind bit 0x40000) so that it files its
// settings per machine. A count, not a flag: two passes on two threads of one process cannot
// clear each other's mark.
#pragma once
#include <atomic>

extern std::atomic<int> UiBusyFlag;

// Raises the count for the holder's lifetime.
class UiBusyHold {
 public:
  UiBusyHold() { UiBusyFlag.fetch_add(1); }
  ~UiBusyHold() { UiBusyFlag.fetch_sub(1); }
  UiBusyHold(const UiBusyHold&) = delete;
  UiBusyHold& operator=(const UiBusyHold&) = delete;
};
