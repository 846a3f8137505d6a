// The coupling pass after settings changed outside the dialogs: the paper's resolution cap,
// the resolution pair, the input and output paper items, then every Transact list of the
// model description.
#pragma once

struct DriverContext;

// Resolution cap for the paper (dmPrintQuality), DM_PRINTQUALITY in dmFields, items 17, 38
// and 39 from the print quality, the input paper from item 8, the output paper from item 46,
// then the Transact list of every item that has one, in the description's order. 0.
int ItemApplyCouplings(DriverContext* ctx);
