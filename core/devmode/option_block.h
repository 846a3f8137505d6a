// The option-request block of a DEVMODE: requests an outside program writes into the private
// header for the driver to carry out when the DEVMODE is merged.
#pragma once

struct DriverContext;

// Applies the request block of the DEVMODE (the merge's working copy), which it may rewrite
// whole; a request adds 0x40000000 to the merge flags in the UI state. 1, or 0 when memory
// runs out or a bidirectional refresh fails.
int DmApplyOptionBlock(DriverContext* ctx, void* devmode);
