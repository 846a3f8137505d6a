// Minimal version until the field couplings are built: no paper is known, so the paper items
// and DEVMODE fields stay as they are (as for a paper without a printable area).
#include "core/devmode/couplings.h"

void DmApplyInputPaper(short, WORD, DriverContext*, void*) {}
void DmApplyOutputPaper(short, WORD, DriverContext*, void*) {}

