// Minimal version until the field couplings are built: no paper is known, so the paper items
// and DEVMODE fields stay as they are (as for a paper without a printable area), and the
// public fields do not follow the items yet.
#include "core/devmode/couplings.h"

void DmApplyInputPaper(short, WORD, DriverContext*, void*) {}
void DmApplyOutputPaper(short, WORD, DriverContext*, void*) {}

void DmSetDuplexField(void*, DriverContext*) {}
void DmSetMediaTypeField(void*, DriverContext*) {}
void DmSetPaperDotsFromSize(void*, DriverContext*) {}
void DmSyncResolutionFromQuality(void*, DriverContext*) {}
void DmSyncResolutionFromDst(void*, DriverContext*) {}
void DmApplyUserMacroQuality(DriverContext*) {}
