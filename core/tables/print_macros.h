// Lookups of the print-macro table: each print macro's x and y resolution in dpi.
#pragma once
#include "core/tables/static_tables.h"
#include "platform/win32.h"

// The row of a macro id; null for 0 or an id without a row.
const PrintMacroResolution* TblFindPrintMacro(WORD macro);
// The macro of the first row with this x and y; 0 when none or when x or y is 0.
WORD TblPrintMacroByDpi(WORD xDpi, WORD yDpi);
// The macro of the first row with this x; 0 when none.
WORD TblPrintMacroByXDpi(WORD xDpi);
// The macro of the next row with this x after the row of macro; 0 when none (or when macro has
// no row).
WORD TblNextPrintMacroByXDpi(WORD xDpi, WORD macro);
