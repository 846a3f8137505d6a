// Paper codes with a meaning of their own: the custom sizes and their slots.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// 1 for the code that asks for a custom paper (1024).
int PaperIsCustomCode(LONG code);
// 1 for the custom-size paper codes: the ten slots 384-393, 448 and 256.
int PaperIsFreeSizeRange(LONG code);
// 1 for the paper code of one of the twelve custom-size slots; 0 is none.
int PaperIsFreeSizeCode(LONG code);
// The custom-size slot (0-11) of a paper code, -1 when it has none.
int PaperSlotOfCode(LONG code);
// The custom-size slot (0-11) of dmPaperSize and of zdmOutPaperSize; -1 when the paper is none.
int PaperGetFreeSizeSlot(DriverContext* ctx);
int PaperGetOutFreeSizeSlot(DriverContext* ctx);
