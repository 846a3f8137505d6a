// Minimal version until the option-request blocks are built: no request is carried out.
#include "core/devmode/option_block.h"

int DmApplyOptionBlock(DriverContext*, void*) { return 1; }
