// The DEVMODE merge into a context and the steps that follow it.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Merges a DEVMODE (or, with null, the context's own settings again) into the context's
// settings; 1 on success, 0 when memory runs out.
BOOL DmMergeIntoContext(DriverContext* ctx, const void* devmode, DWORD flags);
// Asks the chapter module to re-check the tray and media of every chapter (module event 11).
void DmRecheckChapterTrays(DriverContext* ctx);
// Recomputes the derived public fields of a settings block (duplex, media type and the rest).
void DmRecomputeDerived(BYTE* block, DriverContext* ctx, int mode);
