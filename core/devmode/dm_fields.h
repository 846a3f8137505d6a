// Defaults of the public DEVMODE fields (items 1-34) and the settings derived from them.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// One public field: its item, its offset and width in the DEVMODE and its dmFields bit.
struct DmFieldRow {
  WORD item;
  WORD offset;
  WORD width;   // bytes; the two texts are 64
  DWORD bit;    // 0 without a bit
};
// The 34 rows in item order; the count goes to *count when given.
const DmFieldRow* DmFieldTable(int* count);

// Kind 1: the description-aware default of every field of the context's DEVMODE (a described
// value of the right shape stays, anything else becomes the model record's default); kind 2:
// the same after the model defaults and the printer's matching DEVMODE; any other kind: the
// forced defaults of every field of the given DEVMODE.
void DmApplyFieldDefaults(void* dm, int kind, DriverContext* ctx);
void DmKeepOrDefaultFields(void* dm, DriverContext* ctx);
void DmForceFieldDefaults(void* dm, DriverContext* ctx);
// The repair sweep (kind 1), the derived settings in mode 1 and the private header's names.
void DmFinishDefaults(void* dm, DriverContext* ctx);
// The derived settings, then dmDuplex and dmMediaType from their items.
void DmRecomputeDerived(void* dm, DriverContext* ctx, int mode);
// Resolution from the output resolution item, input and output paper, environment flags 712
// to 714, the driver code string in modes 1, 3 and 4, item 989 := 0, module event 53.
void DmRecomputeDerivedItems(void* dm, DriverContext* ctx, int mode);
// The item repair sweep.
void DmRunRepairSweep(void* dm, DriverContext* ctx, int kind);
